#include "Hdf5LogRows.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace Hdf5LogRows {

namespace {

Hdf5Handle StringType(std::size_t length)
{
    Hdf5Handle type(H5Tcopy(H5T_C_S1), H5Tclose);
    H5Tset_size(type.Id(), length);
    H5Tset_strpad(type.Id(), H5T_STR_NULLPAD);
    H5Tset_cset(type.Id(), H5T_CSET_UTF8);
    return type;
}

// Fields are inserted at their place in the memory row; the file's type is
// the same compound packed, with the little-endian standard types.
struct Field {
    const char* Name;
    std::size_t Offset;
    hid_t Memory;
    hid_t File;
    std::size_t StringLength;  // 0 for a number
};

Hdf5Handle Compound(std::size_t size, const Field* fields, std::size_t count, bool packed)
{
    Hdf5Handle type(H5Tcreate(H5T_COMPOUND, size), H5Tclose);
    for (std::size_t i = 0; i < count; ++i) {
        const Field& field = fields[i];
        if (field.StringLength > 0)
            H5Tinsert(type.Id(), field.Name, field.Offset, StringType(field.StringLength).Id());
        else
            H5Tinsert(type.Id(), field.Name, field.Offset, packed ? field.File : field.Memory);
    }
    if (packed)
        H5Tpack(type.Id());
    return type;
}

// A text longer than its field is cut before the character that does not
// fit whole, so that every reader still gets valid UTF-8.
template <std::size_t N>
void CopyText(char (&target)[N], const std::string& text)
{
    std::size_t length = std::min(N, text.size());
    const auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    if (length < text.size())
        while (length > 0 && continuation(length))
            --length;
    std::memset(target, 0, N);
    std::memcpy(target, text.data(), length);
}

template <std::size_t N>
std::string TextOf(const char (&source)[N])
{
    return std::string(source, strnlen(source, N));
}

} // namespace

Hdf5Handle RunType(bool packed)
{
    const Field fields[] = {
        {LogLayout::RunField, offsetof(RunRow, Run), H5T_NATIVE_INT32, H5T_STD_I32LE, 0},
        {LogLayout::StartField, offsetof(RunRow, Start), 0, 0, LogLayout::TimeLength},
        {LogLayout::FirstSampleField, offsetof(RunRow, FirstSample), H5T_NATIVE_INT64, H5T_STD_I64LE, 0},
        {LogLayout::SamplesField, offsetof(RunRow, Samples), H5T_NATIVE_INT64, H5T_STD_I64LE, 0},
        {LogLayout::EndField, offsetof(RunRow, End), 0, 0, LogLayout::WordLength},
    };
    return Compound(sizeof(RunRow), fields, std::size(fields), packed);
}

Hdf5Handle EventType(bool packed)
{
    const Field fields[] = {
        {LogLayout::TimeField, offsetof(EventRow, Time), 0, 0, LogLayout::TimeLength},
        {LogLayout::KindField, offsetof(EventRow, Kind), 0, 0, LogLayout::WordLength},
        {LogLayout::EventRunField, offsetof(EventRow, Run), H5T_NATIVE_INT32, H5T_STD_I32LE, 0},
        {LogLayout::SecondsField, offsetof(EventRow, Seconds), H5T_NATIVE_DOUBLE, H5T_IEEE_F64LE, 0},
        {LogLayout::TextField, offsetof(EventRow, Text), 0, 0, LogLayout::TextLength},
    };
    return Compound(sizeof(EventRow), fields, std::size(fields), packed);
}

Hdf5Handle SummaryType(bool packed)
{
    const Field fields[] = {
        {LogLayout::MinField, offsetof(BlockSummary, Min), H5T_NATIVE_INT32, H5T_STD_I32LE, 0},
        {LogLayout::MaxField, offsetof(BlockSummary, Max), H5T_NATIVE_INT32, H5T_STD_I32LE, 0},
        {LogLayout::CountField, offsetof(BlockSummary, Count), H5T_NATIVE_INT64, H5T_STD_I64LE, 0},
        {LogLayout::SumField, offsetof(BlockSummary, Sum), H5T_NATIVE_INT64, H5T_STD_I64LE, 0},
        {LogLayout::M2Field, offsetof(BlockSummary, M2), H5T_NATIVE_DOUBLE, H5T_IEEE_F64LE, 0},
    };
    return Compound(sizeof(BlockSummary), fields, std::size(fields), packed);
}

RunRow ToRow(const LogRun& run)
{
    RunRow row{};
    row.Run = run.Run;
    CopyText(row.Start, run.Start);
    row.FirstSample = run.FirstSample;
    row.Samples = run.Samples;
    CopyText(row.End, run.End);
    return row;
}

LogRun FromRow(const RunRow& row)
{
    LogRun run;
    run.Run = row.Run;
    run.Start = TextOf(row.Start);
    run.FirstSample = row.FirstSample;
    run.Samples = row.Samples;
    run.End = TextOf(row.End);
    return run;
}

EventRow ToRow(const LogEvent& event)
{
    EventRow row{};
    CopyText(row.Time, event.Time);
    CopyText(row.Kind, event.Kind);
    row.Run = event.Run;
    row.Seconds = event.Seconds;
    CopyText(row.Text, event.Text);
    return row;
}

LogEvent FromRow(const EventRow& row)
{
    LogEvent event;
    event.Time = TextOf(row.Time);
    event.Kind = TextOf(row.Kind);
    event.Run = row.Run;
    event.Seconds = row.Seconds;
    event.Text = TextOf(row.Text);
    return event;
}

} // namespace Hdf5LogRows
