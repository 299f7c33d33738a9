#include "PythonErrors.h"

pybind11::object PythonErrors::Type(const char* name)
{
    return pybind11::module_::import("korvadex._errors").attr(name);
}

void PythonErrors::RaiseBuiltin(PyObject* type, const QString& text)
{
    PyErr_SetString(type, text.toUtf8().constData());
    throw pybind11::error_already_set();
}
