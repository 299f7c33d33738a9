#include "FftwModule.h"

#include "ProgramModule.h"

#include <stdexcept>

const FftwModuleEntries* FftwModule::Load(std::string& error)
{
    const auto* entries = ProgramModule::Load<FftwModuleEntries>("fftw", error);
    if (entries == nullptr)
        error += "; noise spectra need it";
    return entries;
}

const FftwModuleEntries& FftwModule::Entries()
{
    std::string error;
    const FftwModuleEntries* entries = Load(error);
    if (entries == nullptr)
        throw std::runtime_error(error);
    return *entries;
}
