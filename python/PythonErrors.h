#pragma once

#include <pybind11/pybind11.h>

#include <QString>

// The package's own exceptions (korvadex.Error and its kin, defined in
// Python so they carry Python docstrings) raised from C++: the instance is
// made, set as Python's current error and thrown as error_already_set, so
// pybind11 hands it to the caller unchanged.
class PythonErrors {
public:
    // Raises korvadex.<name>(text, extra...).
    template <typename... Extra>
    [[noreturn]] static void Raise(const char* name, const QString& text, Extra&&... extra)
    {
        const pybind11::object type = Type(name);
        const pybind11::object error = type(text.toStdString(), std::forward<Extra>(extra)...);
        PyErr_SetObject(type.ptr(), error.ptr());
        throw pybind11::error_already_set();
    }

    // Raises a built-in exception such as PyExc_ValueError with text.
    [[noreturn]] static void RaiseBuiltin(PyObject* type, const QString& text);

private:
    static pybind11::object Type(const char* name);
};
