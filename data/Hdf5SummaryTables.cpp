#include "Hdf5SummaryTables.h"

#include "Hdf5Attributes.h"
#include "Hdf5LogRows.h"
#include "LogLayout.h"

#include <string>

namespace {

// Unfiltered, so that a chunk is written once at its full size and then in
// place: a filtered chunk that a flush leaves partial is written anew
// elsewhere at each flush under SWMR. 64 rows is 2 KiB a channel.
constexpr hsize_t ChunkRows = 64;

} // namespace

bool Hdf5SummaryTables::Make(hid_t group, int channels)
{
    channels_ = channels;
    memoryType_ = Hdf5LogRows::SummaryType(false);
    if (!Hdf5Attributes::WriteInt(group, LogLayout::BlockSamplesAttribute, static_cast<std::int32_t>(LogLayout::SummaryBlock))
        || !Hdf5Attributes::WriteInt(group, LogLayout::FanOutAttribute, LogLayout::SummaryFanOut))
        return false;
    const Hdf5Handle fileType = Hdf5LogRows::SummaryType(true);
    const hsize_t dims[2] = {0, 2};
    const hsize_t maxDims[2] = {H5S_UNLIMITED, 2};
    const hsize_t chunk[2] = {ChunkRows, 2};
    const Hdf5Handle space(H5Screate_simple(channels, dims, maxDims), H5Sclose);
    const Hdf5Handle properties(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    H5Pset_chunk(properties.Id(), channels, chunk);
    levels_.clear();
    for (int level = 1; level <= LogLayout::SummaryLevels; ++level) {
        const std::string name = LogLayout::SummaryLevelPrefix + std::to_string(level);
        levels_.emplace_back(H5Dcreate2(group, name.c_str(), fileType.Id(), space.Id(), H5P_DEFAULT, properties.Id(), H5P_DEFAULT),
                             H5Dclose);
        if (!levels_.back().Valid())
            return false;
    }
    rows_.assign(LogLayout::SummaryLevels, 0);
    return true;
}

bool Hdf5SummaryTables::Append(const SummaryPyramid& pyramid)
{
    for (int level = 1; level <= LogLayout::SummaryLevels; ++level) {
        const std::vector<BlockSummary>& made = pyramid.Made(level);
        if (made.empty())
            continue;
        const hid_t table = levels_[static_cast<std::size_t>(level - 1)].Id();
        std::int64_t& rows = rows_[static_cast<std::size_t>(level - 1)];
        const hsize_t count = made.size() / static_cast<std::size_t>(channels_);
        const hsize_t size[2] = {static_cast<hsize_t>(rows) + count, 2};
        if (H5Dset_extent(table, size) < 0)
            return false;
        const hsize_t start[2] = {static_cast<hsize_t>(rows), 0};
        const hsize_t length[2] = {count, static_cast<hsize_t>(channels_)};
        const Hdf5Handle space(H5Dget_space(table), H5Sclose);
        const Hdf5Handle memory(H5Screate_simple(channels_, length, nullptr), H5Sclose);
        const Hdf5Handle transfer = Hdf5Handle::ConvertingTransfer(made.size() * H5Tget_size(memoryType_.Id()));
        if (transfer.Id() < 0 || H5Sselect_hyperslab(space.Id(), H5S_SELECT_SET, start, nullptr, length, nullptr) < 0
            || H5Dwrite(table, memoryType_.Id(), memory.Id(), space.Id(), transfer.Id(), made.data()) < 0
            || H5Dflush(table) < 0)
            return false;
        rows += static_cast<std::int64_t>(count);
    }
    return true;
}
