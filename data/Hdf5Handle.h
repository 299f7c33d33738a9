#pragma once

#include <hdf5.h>

#include <cstddef>

#include <QByteArray>
#include <QString>

// One HDF5 identifier (file, dataset, dataspace, type, attribute, property
// list) owned: closed by its own close function when the holder goes, so
// that no early return leaks an id and leaves the file open.
class Hdf5Handle {
public:
    using Closer = herr_t (*)(hid_t);

    Hdf5Handle() = default;
    Hdf5Handle(hid_t id, Closer close);
    ~Hdf5Handle();
    Hdf5Handle(Hdf5Handle&& other) noexcept;
    Hdf5Handle& operator=(Hdf5Handle&& other) noexcept;
    Hdf5Handle(const Hdf5Handle&) = delete;
    Hdf5Handle& operator=(const Hdf5Handle&) = delete;

    hid_t Id() const { return id_; }
    bool Valid() const { return id_ >= 0; }
    void Reset();
    // The id, no longer closed by the holder (for a close whose result counts).
    hid_t Release();

    // A path as HDF5 takes it: UTF-8 on Windows (which HDF5 turns into the
    // system's wide names), the local encoding elsewhere.
    static QByteArray FileName(const QString& path);

    // A transfer property list whose type conversion buffer holds `bytes`:
    // for writing a few rows converted to a packed file type, which HDF5
    // otherwise does in a megabyte it clears for every write.
    static Hdf5Handle ConvertingTransfer(std::size_t bytes);
    // HDF5 prints its error stack to stderr by default; the program says
    // what failed in its own words instead.
    static void SilenceErrorStack();
    // The innermost description on HDF5's error stack ("truncated file ..."),
    // empty when there is none.
    static QString StackMessage();

    // HDF5 1.10 frees half of a file whose close failed and then crashes
    // tearing itself down at exit; a program that saw one ends without that
    // teardown (std::_Exit once its files are closed).
    static void MarkTeardownUnsafe();
    // Points an open file's descriptor at the null device, so that what
    // HDF5 still writes (at its close) after a failed write goes nowhere
    // and the file stays as its last flush left it.
    static void CutOff(hid_t file);
    static bool TeardownUnsafe();

private:
    hid_t id_ = H5I_INVALID_HID;
    Closer close_ = nullptr;
};
