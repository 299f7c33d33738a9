#include "Hdf5Signature.h"

#include <QFile>

#include <array>

namespace {

constexpr std::array<char, 8> Signature = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};

} // namespace

bool Hdf5Signature::StartsWith(const QString& path)
{
    QFile file(path);
    std::array<char, 8> start{};
    return file.open(QIODevice::ReadOnly) && file.read(start.data(), start.size()) == qint64(start.size())
        && start == Signature;
}
