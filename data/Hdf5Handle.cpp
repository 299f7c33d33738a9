#include "Hdf5Handle.h"

#include <QFile>

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <utility>

Hdf5Handle::Hdf5Handle(hid_t id, Closer close)
    : id_(id)
    , close_(close)
{
}

Hdf5Handle::~Hdf5Handle()
{
    Reset();
}

Hdf5Handle::Hdf5Handle(Hdf5Handle&& other) noexcept
    : id_(std::exchange(other.id_, H5I_INVALID_HID))
    , close_(other.close_)
{
}

Hdf5Handle& Hdf5Handle::operator=(Hdf5Handle&& other) noexcept
{
    if (this != &other) {
        Reset();
        id_ = std::exchange(other.id_, H5I_INVALID_HID);
        close_ = other.close_;
    }
    return *this;
}

void Hdf5Handle::Reset()
{
    if (Valid() && close_)
        close_(id_);
    id_ = H5I_INVALID_HID;
}

hid_t Hdf5Handle::Release()
{
    return std::exchange(id_, H5I_INVALID_HID);
}

QByteArray Hdf5Handle::FileName(const QString& path)
{
#ifdef _WIN32
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

namespace {

bool teardownUnsafe = false;

} // namespace

void Hdf5Handle::MarkTeardownUnsafe()
{
    teardownUnsafe = true;
}

bool Hdf5Handle::TeardownUnsafe()
{
    return teardownUnsafe;
}

Hdf5Handle Hdf5Handle::ConvertingTransfer(std::size_t bytes)
{
    Hdf5Handle transfer(H5Pcreate(H5P_DATASET_XFER), H5Pclose);
    if (transfer.Id() >= 0 && H5Pset_buffer(transfer.Id(), bytes, nullptr, nullptr) < 0)
        return Hdf5Handle(-1, H5Pclose);
    return transfer;
}

void Hdf5Handle::SilenceErrorStack()
{
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

namespace {

// Walked from the innermost entry outwards: the first one is the cause.
herr_t KeepInnermost(unsigned position, const H5E_error2_t* entry, void* data)
{
    if (position == 0 && entry->desc)
        *static_cast<QString*>(data) = QString::fromUtf8(entry->desc);
    return 0;
}

} // namespace

QString Hdf5Handle::StackMessage()
{
    QString message;
    H5Ewalk2(H5E_DEFAULT, H5E_WALK_UPWARD, KeepInnermost, &message);
    // A failed write or read names the system's reason among its numbers
    // ("..., errno = 28, error message = 'No space left on device', ..."):
    // that reason is what the operator needs.
    static const QString Reason = QStringLiteral("error message = '");
    const int at = message.indexOf(Reason);
    if (at >= 0) {
        const int from = at + Reason.size();
        return message.mid(from, message.indexOf(QLatin1Char('\''), from) - from);
    }
    return message;
}

// After a failed write HDF5 still holds metadata in its cache that names
// space it could not write, and would write it at the close into whatever
// room is left: a superblock naming an end beyond the file, which no reader
// opens (and a close that fails leaves the library to crash at exit). The
// file's descriptor is pointed at the null device instead, so that the
// close succeeds there and the file stays as its last flush left it.
void Hdf5Handle::CutOff(hid_t file)
{
#ifdef _WIN32
    const char* const nullDevice = "NUL";
#else
    const char* const nullDevice = "/dev/null";
#endif
    int* descriptor = nullptr;
    if (H5Fget_vfd_handle(file, H5P_DEFAULT, reinterpret_cast<void**>(&descriptor)) < 0 || descriptor == nullptr)
        return;
    const int null = open(nullDevice, O_RDWR);
    if (null >= 0) {
        dup2(null, *descriptor);
        close(null);
    }
}
