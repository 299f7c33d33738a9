#pragma once

#include <QString>

// HDF5's eight-byte signature at the start of a file, read without the
// HDF5 library: a log is told HDF5 or text before that library is loaded.
class Hdf5Signature {
public:
    static bool StartsWith(const QString& path);
};
