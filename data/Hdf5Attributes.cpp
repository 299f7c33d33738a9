#include "Hdf5Attributes.h"

#include "Hdf5Handle.h"

#include <vector>

namespace Hdf5Attributes {

namespace {

bool Write(hid_t object, const char* name, hid_t fileType, hid_t memoryType, const void* value)
{
    const Hdf5Handle space(H5Screate(H5S_SCALAR), H5Sclose);
    const Hdf5Handle attribute(H5Acreate2(object, name, fileType, space.Id(), H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    return attribute.Valid() && H5Awrite(attribute.Id(), memoryType, value) >= 0;
}

Hdf5Handle OpenAttribute(hid_t object, const char* name)
{
    if (H5Aexists(object, name) <= 0)
        return Hdf5Handle();
    return Hdf5Handle(H5Aopen(object, name, H5P_DEFAULT), H5Aclose);
}

bool IsScalar(hid_t attribute)
{
    const Hdf5Handle space(H5Aget_space(attribute), H5Sclose);
    return space.Valid() && H5Sget_simple_extent_type(space.Id()) == H5S_SCALAR;
}

template <typename Number>
std::optional<Number> ReadNumber(hid_t object, const char* name, hid_t memoryType)
{
    const Hdf5Handle attribute = OpenAttribute(object, name);
    if (!attribute.Valid() || !IsScalar(attribute.Id()))
        return std::nullopt;
    const Hdf5Handle type(H5Aget_type(attribute.Id()), H5Tclose);
    const H5T_class_t kind = H5Tget_class(type.Id());
    if (kind != H5T_INTEGER && kind != H5T_FLOAT)
        return std::nullopt;
    Number value{};
    if (H5Aread(attribute.Id(), memoryType, &value) < 0)
        return std::nullopt;
    return value;
}

// HDF5 does not convert between character sets: a string is read in the
// one it was written in.
Hdf5Handle StringType(std::size_t size, H5T_cset_t characters = H5T_CSET_UTF8)
{
    Hdf5Handle type(H5Tcopy(H5T_C_S1), H5Tclose);
    H5Tset_size(type.Id(), size);
    H5Tset_cset(type.Id(), characters);
    return type;
}

} // namespace

bool WriteString(hid_t object, const char* name, const std::string& value)
{
    const Hdf5Handle type = StringType(H5T_VARIABLE);
    const char* text = value.c_str();
    return Write(object, name, type.Id(), type.Id(), &text);
}

bool WriteInt(hid_t object, const char* name, std::int32_t value)
{
    return Write(object, name, H5T_STD_I32LE, H5T_NATIVE_INT32, &value);
}

bool WriteDouble(hid_t object, const char* name, double value)
{
    return Write(object, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, &value);
}

std::optional<std::string> ReadString(hid_t object, const char* name)
{
    const Hdf5Handle attribute = OpenAttribute(object, name);
    if (!attribute.Valid() || !IsScalar(attribute.Id()))
        return std::nullopt;
    const Hdf5Handle type(H5Aget_type(attribute.Id()), H5Tclose);
    if (H5Tget_class(type.Id()) != H5T_STRING)
        return std::nullopt;
    if (H5Tis_variable_str(type.Id()) > 0) {
        const Hdf5Handle memory = StringType(H5T_VARIABLE, H5Tget_cset(type.Id()));
        char* text = nullptr;
        if (H5Aread(attribute.Id(), memory.Id(), &text) < 0)
            return std::nullopt;
        std::string value = text ? text : "";
        H5free_memory(text);
        return value;
    }
    const std::size_t size = H5Tget_size(type.Id());
    const Hdf5Handle memory = StringType(size + 1, H5Tget_cset(type.Id()));
    std::vector<char> text(size + 1, '\0');
    if (H5Aread(attribute.Id(), memory.Id(), text.data()) < 0)
        return std::nullopt;
    return std::string(text.data());
}

std::optional<std::int32_t> ReadInt(hid_t object, const char* name)
{
    return ReadNumber<std::int32_t>(object, name, H5T_NATIVE_INT32);
}

std::optional<double> ReadDouble(hid_t object, const char* name)
{
    return ReadNumber<double>(object, name, H5T_NATIVE_DOUBLE);
}

} // namespace Hdf5Attributes
