#include "Hdf5LogOutput.h"

#include "LogFile.h"
#include "RunData.h"

bool Hdf5LogOutput::Open(const QString& path)
{
    flushed_ = Clock::now();
    return writer_.Create(path);
}

bool Hdf5LogOutput::Head(const LogHead& head)
{
    return writer_.Begin(head, Program);
}

void Hdf5LogOutput::Samples(const RunData& run, int, std::int32_t from, std::int32_t to,
                            std::chrono::system_clock::time_point)
{
    if (run.Settings.CHSel != ModeDual) {
        const std::int32_t* codes = run.Settings.CHSel == ModeCh1 ? run.Ch1Codes : run.Ch0Codes;
        writer_.AddCodes(codes + from, to - from);
        return;
    }
    pairs_.clear();
    for (std::int32_t i = from; i < to; ++i) {
        pairs_.push_back(run.Ch0Codes[i]);
        pairs_.push_back(run.Ch1Codes[i]);
    }
    writer_.AddCodes(pairs_.data(), to - from);
}

// As often as the text log is written.
bool Hdf5LogOutput::FlushIfDue()
{
    if (Clock::now() - flushed_ < LogFile::FlushInterval)
        return true;
    return Flush();
}

bool Hdf5LogOutput::Flush()
{
    flushed_ = Clock::now();
    return writer_.Flush();
}
