#include "Hdf5Module.h"

#include "ProgramModule.h"

#include <atomic>
#include <string>

namespace {

std::atomic<const Hdf5ModuleEntries*> loaded{nullptr};

} // namespace

const Hdf5ModuleEntries* Hdf5Module::Load(QString& error)
{
    std::string reason;
    const auto* entries = ProgramModule::Load<Hdf5ModuleEntries>("hdf5", reason);
    if (entries == nullptr)
        error = QStringLiteral("%1; HDF5 logs need it").arg(QString::fromStdString(reason));
    else
        loaded = entries;
    return entries;
}

bool Hdf5Module::TeardownUnsafe()
{
    const Hdf5ModuleEntries* entries = loaded;
    return entries != nullptr && entries->TeardownUnsafe();
}
