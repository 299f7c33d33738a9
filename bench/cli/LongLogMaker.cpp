// Makes a long-term HDF5 log for the long-log benchmark (long_log_report.sh):
// SECONDS of 125 ksps CH0 from the virtual board's kind of noise, in runs of
// 100000 samples, through the program's own log writer. Never run by CI;
// the log is large (450 M samples for an hour) and goes where it is told.
//
// usage: long_log_maker OUT.h5 SECONDS

#include "Hdf5LogWriter.h"
#include "MeasureItems.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::int64_t RunSamples = 100000;
constexpr double Rate = 125000.0;

LogHead Head()
{
    LogHead head;
    head.Settings.spsSel = 16;
    head.Settings.DataCountSel = 9;
    head.Settings.CHSel = 0;
    head.Settings.fSinc5 = 1;
    head.Board = "KORVADEX / V1.00";
    head.SettingsText = MeasureItems::Describe(head.Settings).toStdString();
    head.Started = "2026-12-08T00:00:00.000Z";
    return head;
}

// A few codes of Gaussian-like noise (the sum of four uniform draws) near
// zero volts, with a 50 Hz line of 3 codes on it.
void FillRun(std::vector<std::int32_t>& codes, std::int64_t first, std::uint64_t& state)
{
    for (std::size_t i = 0; i < codes.size(); ++i) {
        std::int32_t noise = 0;
        for (int k = 0; k < 4; ++k) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            noise += static_cast<std::int32_t>(state >> 61);
        }
        const std::int64_t n = first + static_cast<std::int64_t>(i);
        const int mains = (n % 2500) < 1250 ? 3 : -3;
        codes[i] = 8388608 + noise - 14 + mains;
    }
}

std::string StartOf(std::int64_t run)
{
    const std::int64_t ms = run * RunSamples * 1000 / static_cast<std::int64_t>(Rate);
    char text[64];
    std::snprintf(text, sizeof text, "2026-12-08T%02lld:%02lld:%02lld.%03lldZ", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: long_log_maker OUT.h5 SECONDS\n");
        return 2;
    }
    const std::int64_t samples = static_cast<std::int64_t>(std::atof(argv[2]) * Rate);
    Hdf5LogWriter writer;
    if (!writer.Create(QString::fromLocal8Bit(argv[1])) || !writer.Begin(Head(), "korvadex-cli log")) {
        std::fprintf(stderr, "%s\n", writer.Error().toLocal8Bit().constData());
        return 1;
    }
    std::vector<std::int32_t> codes;
    std::uint64_t state = 1;
    for (std::int64_t run = 0; run * RunSamples < samples; ++run) {
        const std::int64_t first = run * RunSamples;
        codes.resize(static_cast<std::size_t>(std::min(RunSamples, samples - first)));
        FillRun(codes, first, state);
        writer.AddCodes(codes.data(), static_cast<std::int64_t>(codes.size()));
        writer.SetRun(LogRun{static_cast<std::int32_t>(run + 1), StartOf(run), first,
                             static_cast<std::int64_t>(codes.size()), "complete"});
        if (!writer.Flush()) {
            std::fprintf(stderr, "%s\n", writer.Error().toLocal8Bit().constData());
            return 1;
        }
    }
    return writer.Close() ? 0 : 1;
}
