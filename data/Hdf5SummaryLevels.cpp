#include "Hdf5SummaryLevels.h"

#include "Hdf5Attributes.h"
#include "Hdf5LogRows.h"
#include "LogLayout.h"
#include "SummaryPyramid.h"

#include <string>

bool Hdf5SummaryLevels::Refuse(const QString& why)
{
    refusal_ = why;
    levels_.clear();
    rows_.clear();
    return false;
}

QString Hdf5SummaryLevels::Name(int level)
{
    return QStringLiteral("/%1/%2%3")
        .arg(QString::fromUtf8(LogLayout::Summary), QString::fromUtf8(LogLayout::SummaryLevelPrefix))
        .arg(level);
}

void Hdf5SummaryLevels::Open(hid_t file, int channels)
{
    *this = Hdf5SummaryLevels();
    channels_ = channels;
    if (H5Lexists(file, LogLayout::Summary, H5P_DEFAULT) <= 0)
        return;
    const Hdf5Handle group(H5Gopen2(file, LogLayout::Summary, H5P_DEFAULT), H5Gclose);
    const auto block = group.Valid() ? Hdf5Attributes::ReadInt(group.Id(), LogLayout::BlockSamplesAttribute) : std::nullopt;
    const auto fanOut = group.Valid() ? Hdf5Attributes::ReadInt(group.Id(), LogLayout::FanOutAttribute) : std::nullopt;
    if (block != LogLayout::SummaryBlock || fanOut != LogLayout::SummaryFanOut) {
        Refuse(QStringLiteral("/%1 is not a group with %2 %3 and %4 %5")
                   .arg(QString::fromUtf8(LogLayout::Summary), QString::fromUtf8(LogLayout::BlockSamplesAttribute))
                   .arg(LogLayout::SummaryBlock)
                   .arg(QString::fromUtf8(LogLayout::FanOutAttribute))
                   .arg(LogLayout::SummaryFanOut));
        return;
    }
    for (int level = 1; level <= LogLayout::SummaryLevels; ++level) {
        const std::string name = LogLayout::SummaryLevelPrefix + std::to_string(level);
        if (H5Lexists(group.Id(), name.c_str(), H5P_DEFAULT) <= 0 || !OpenLevel(group.Id(), level))
            return;
    }
}

// A compound of rank 1 (one channel) or (n, 2) (two), as /codes.
bool Hdf5SummaryLevels::OpenLevel(hid_t group, int level)
{
    const std::string name = LogLayout::SummaryLevelPrefix + std::to_string(level);
    Hdf5Handle table(H5Dopen2(group, name.c_str(), H5P_DEFAULT), H5Dclose);
    const Hdf5Handle type(table.Valid() ? H5Dget_type(table.Id()) : H5I_INVALID_HID, H5Tclose);
    const Hdf5Handle space(table.Valid() ? H5Dget_space(table.Id()) : H5I_INVALID_HID, H5Sclose);
    hsize_t dims[2] = {0, 0};
    const bool shaped = space.Valid() && H5Sget_simple_extent_ndims(space.Id()) == channels_
        && H5Sget_simple_extent_dims(space.Id(), dims, nullptr) >= 0 && (channels_ == 1 || dims[1] == 2);
    if (!type.Valid() || H5Tget_class(type.Id()) != H5T_COMPOUND || !shaped)
        return Refuse(QStringLiteral("%1 is not a table of summaries shaped as /%2").arg(Name(level), QString::fromUtf8(LogLayout::Codes)));
    levels_.push_back(std::move(table));
    rows_.push_back(static_cast<std::int64_t>(dims[0]));
    return true;
}

void Hdf5SummaryLevels::CheckAgainst(std::int64_t samples)
{
    for (int level = 1; level <= Levels(); ++level) {
        const std::int64_t whole = samples / SummaryPyramid::RowSamples(level);
        if (Rows(level) > whole) {
            Refuse(QStringLiteral("%1 has %2 rows, but /%3 holds %4 blocks of its size")
                       .arg(Name(level))
                       .arg(Rows(level))
                       .arg(QString::fromUtf8(LogLayout::Codes))
                       .arg(whole));
            return;
        }
    }
}

std::int64_t Hdf5SummaryLevels::Rows(int level) const
{
    return level >= 1 && level <= Levels() ? rows_[static_cast<std::size_t>(level - 1)] : 0;
}

QString Hdf5SummaryLevels::Read(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out) const
{
    const std::int64_t rows = Rows(level);
    if (level < 1 || level > Levels() || first < 0 || count < 0 || first + count > rows)
        return QStringLiteral("rows %1 to %2 lie outside the %3 rows of %4").arg(first).arg(first + count).arg(rows).arg(Name(level));
    out.assign(static_cast<std::size_t>(count * channels_), BlockSummary{});
    if (count == 0)
        return QString();
    const hid_t table = levels_[static_cast<std::size_t>(level - 1)].Id();
    const hsize_t start[2] = {static_cast<hsize_t>(first), 0};
    const hsize_t size[2] = {static_cast<hsize_t>(count), static_cast<hsize_t>(channels_)};
    const Hdf5Handle space(H5Dget_space(table), H5Sclose);
    const Hdf5Handle memory(H5Screate_simple(channels_, size, nullptr), H5Sclose);
    if (H5Sselect_hyperslab(space.Id(), H5S_SELECT_SET, start, nullptr, size, nullptr) < 0
        || H5Dread(table, Hdf5LogRows::SummaryType(false).Id(), memory.Id(), space.Id(), H5P_DEFAULT, out.data()) < 0)
        return QStringLiteral("rows %1 to %2 of %3 cannot be read (%4)")
            .arg(first)
            .arg(first + count)
            .arg(Name(level), Hdf5Handle::StackMessage());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (const char* fault = out[i].Fault(SummaryPyramid::RowSamples(level)))
            return QStringLiteral("row %1 of %2: %3").arg(first + static_cast<std::int64_t>(i) / channels_).arg(Name(level), QString::fromUtf8(fault));
    }
    return QString();
}
