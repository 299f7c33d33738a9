#pragma once

#include <hdf5.h>

#include <cstdint>
#include <optional>
#include <string>

// Scalar attributes of a log's root and datasets: strings as variable-length
// UTF-8 (h5py gives them as str), numbers in the little-endian standard
// types. Reading takes a string of either length form, and a number of any
// integer or float type HDF5 converts; nothing when it is missing or is not
// of that kind.
namespace Hdf5Attributes {

bool WriteString(hid_t object, const char* name, const std::string& value);
bool WriteInt(hid_t object, const char* name, std::int32_t value);
bool WriteDouble(hid_t object, const char* name, double value);

std::optional<std::string> ReadString(hid_t object, const char* name);
std::optional<std::int32_t> ReadInt(hid_t object, const char* name);
std::optional<double> ReadDouble(hid_t object, const char* name);

} // namespace Hdf5Attributes
