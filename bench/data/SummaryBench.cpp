// The block summaries' part of logging at 125 ksps CH0: a second of codes
// (125000, in the board's pieces of 1000) through SummaryPyramid, and its
// rows appended to the levels of a SWMR log, as the writer does once a
// second. The share of a core is the processor time of one iteration (the
// CPU column) over the second it stands for: 5 ms is 0.5 %, the target.
// The file goes to the temporary folder (TMPDIR).
#include "Hdf5Handle.h"
#include "Hdf5SummaryTables.h"
#include "SummaryPyramid.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int64_t Rate = 125000;
constexpr std::int64_t Piece = 1000;

std::vector<std::int32_t> Noise(std::int64_t samples)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(samples));
    std::uint64_t state = 1;
    for (std::int32_t& code : codes) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        code = 8388608 + static_cast<std::int32_t>(state >> 59) - 16;
    }
    return codes;
}

void SummariesOfALoggedSecond(benchmark::State& state)
{
    Hdf5Handle::SilenceErrorStack();
    QTemporaryDir dir;
    const Hdf5Handle access(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
    H5Pset_libver_bounds(access.Id(), H5F_LIBVER_LATEST, H5F_LIBVER_LATEST);
    const Hdf5Handle file(H5Fcreate(Hdf5Handle::FileName(dir.filePath(QStringLiteral("log.h5"))).constData(),
                                    H5F_ACC_TRUNC, H5P_DEFAULT, access.Id()),
                          H5Fclose);
    const Hdf5Handle group(H5Gcreate2(file.Id(), "summary", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), H5Gclose);
    Hdf5SummaryTables tables;
    if (!tables.Make(group.Id(), 1) || H5Fstart_swmr_write(file.Id()) < 0) {
        state.SkipWithError("the scratch log cannot be made");
        return;
    }
    const std::vector<std::int32_t> second = Noise(Rate);
    SummaryPyramid pyramid(1);
    for (auto _ : state) {
        for (std::int64_t first = 0; first < Rate; first += Piece)
            pyramid.Add(second.data() + first, Piece);
        if (!tables.Append(pyramid)) {
            state.SkipWithError("the rows cannot be written");
            return;
        }
        pyramid.Clear();
    }
}
BENCHMARK(SummariesOfALoggedSecond)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
