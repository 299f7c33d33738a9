#include "Myfile.h"

#include "LineReader.h"
#include "LineWriter.h"
#include "OverwriteQuestion.h"
#include "ParseInteger.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view HeaderLine = "AD7175_DataFile:";
constexpr std::string_view ParamStart = "M:";
constexpr std::string_view ParamEnd = "MEND:";
constexpr std::string_view DataStart = "D:";
constexpr std::string_view DataEnd = "DEND:";

// "M:" and "D:" must turn up within this many significant lines.
constexpr int SearchLines = 10;
// A settings block ends by itself after this many lines ...
constexpr int ParamBlockLines = 20;
// ... and "MEND:" ends it only after the six keys could have been read.
constexpr int ParamKeyLines = 6;

bool CanSave(const ChannelData* channel)
{
    return channel && channel->Count >= 0 && channel->Count <= SampleCapacity
           && (channel->Count == 0 || channel->Codes);
}

bool CanLoad(const ChannelData* channel)
{
    return channel && channel->Codes;
}

void PutKey(LineWriter& out, std::string_view key, std::int32_t value)
{
    out.Put(key);
    out.PutInteger(value);
    out.EndLine();
}

void PutParam(LineWriter& out, const MeasureSettings& settings)
{
    out.PutLine(ParamStart);
    PutKey(out, "spsSel:", settings.spsSel);
    PutKey(out, "DataCountSel:", settings.DataCountSel);
    PutKey(out, "CHSel:", settings.CHSel);
    PutKey(out, "GainSel:", settings.GainSel);
    PutKey(out, "fSinc5:", settings.fSinc5 ? 1 : 0);
    PutKey(out, "fBUF_ON:", settings.fBUF_ON ? 1 : 0);
    out.PutLine(ParamEnd);
}

void PutData1CH(LineWriter& out, const ChannelData& channel)
{
    out.PutLine(DataStart);
    for (std::int32_t i = 0; i < channel.Count; ++i) {
        out.PutInteger(channel.Codes[i]);
        out.EndLine();
    }
    out.PutLine(DataEnd);
}

void PutData2CH(LineWriter& out, const ChannelData& ch0, const ChannelData& ch1)
{
    out.PutLine(DataStart);
    for (std::int32_t i = 0; i < ch0.Count; ++i) {
        out.PutInteger(ch0.Codes[i]);
        out.PutChar(',');
        out.PutInteger(ch1.Codes[i]);
        out.EndLine();
    }
    out.PutLine(DataEnd);
}

// Removes every CR and LF from the piece, in place, and returns what is left.
// A NUL ends the piece, as it ends a C string.
std::string_view CutCRLF(LineReader::Piece piece)
{
    // The common line holds no CR and no NUL and ends with its LF: cut
    // without moving a byte.
    std::size_t plain = 0;
    while (plain < piece.size && piece.data[plain] != '\r' && piece.data[plain] != '\n' && piece.data[plain] != '\0')
        ++plain;
    if (plain == piece.size || (plain + 1 == piece.size && piece.data[plain] == '\n'))
        return std::string_view(piece.data, plain);
    std::size_t length = plain;
    for (std::size_t i = plain; i < piece.size && piece.data[i] != '\0'; ++i) {
        const char c = piece.data[i];
        if (c != '\r' && c != '\n')
            piece.data[length++] = c;
    }
    return std::string_view(piece.data, length);
}

// The next significant line: comment lines (";" first) and pieces that begin
// with a NUL (an empty text) are passed over. The line stays valid until the
// next read.
bool GetLine(LineReader& in, std::string_view& line)
{
    LineReader::Piece piece;
    do {
        if (!in.ReadPiece(piece))
            return false;
    } while (piece.data[0] == '\0' || piece.data[0] == ';');
    line = CutCRLF(piece);
    return true;
}

// Reads significant lines until one is exactly wanted, giving up after
// SearchLines of them.
bool FindLine(LineReader& in, std::string_view wanted)
{
    std::string_view line;
    for (int i = 0; i < SearchLines; ++i) {
        if (!GetLine(in, line))
            return false;
        if (line == wanted)
            return true;
    }
    return false;
}

bool ParseFlag(std::string_view value, std::uint8_t& flag)
{
    if (value != "0" && value != "1")
        return false;
    flag = value == "1" ? 1 : 0;
    return true;
}

// Stores one key's value; false when the value is not acceptable. Keys that
// are not in the table, and an early "MEND:", are passed over.
bool StoreKey(std::string_view key, std::string_view value, MeasureSettings& settings)
{
    if (key == "spsSel:")
        return ParseInteger(value, settings.spsSel);
    if (key == "DataCountSel:")
        return ParseInteger(value, settings.DataCountSel);
    if (key == "CHSel:")
        return ParseInteger(value, settings.CHSel);
    if (key == "GainSel:")
        return ParseInteger(value, settings.GainSel);
    if (key == "fSinc5:")
        return ParseFlag(value, settings.fSinc5);
    if (key == "fBUF_ON:")
        return ParseFlag(value, settings.fBUF_ON);
    return true;
}

bool GetParam(LineReader& in, MeasureSettings& settings)
{
    if (!FindLine(in, ParamStart))
        return false;
    std::string_view line;
    for (int read = 0; read < ParamBlockLines; ++read) {
        if (!GetLine(in, line))
            return false;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return false;
        const std::string_view key = line.substr(0, colon + 1);
        if (key == ParamEnd && read >= ParamKeyLines)
            return true;
        if (!StoreKey(key, line.substr(colon + 1), settings))
            return false;
    }
    return true;
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// How many of the eight bytes in `word` (first byte lowest) are decimal
// digits before the first that is not, and those digits' value. A digit's
// byte is 0x30 to 0x39: its high half 3, and still 3 with 6 added.
int EightDigits(std::uint64_t word, std::uint32_t& value)
{
    constexpr std::uint64_t High = 0xF0F0F0F0F0F0F0F0u;
    const std::uint64_t halves = (word & High) | (((word + 0x0606060606060606u) & High) >> 4);
    const std::uint64_t other = halves ^ 0x3333333333333333u;
    const int digits = other == 0 ? 8 : __builtin_ctzll(other) / 8;
    if (digits == 0)
        return 0;
    // The digits to the top bytes, zeros before them; then pairs, fours and
    // the eight summed with multiplications.
    std::uint64_t chunk = (word - 0x3030303030303030u) << (8 * (8 - digits));
    chunk = (chunk * 10 + (chunk >> 8)) & 0x00FF00FF00FF00FFu;
    chunk = (((chunk & 0x000000FF000000FFu) * (100 + (1000000ull << 32)))
             + (((chunk >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >> 32;
    value = static_cast<std::uint32_t>(chunk);
    return digits;
}
#endif

// One to nine decimal digits at `at`, the most a code line's number has
// that cannot overflow; false, `at` anywhere, for anything else.
bool TakeDigits(const char*& at, const char* end, std::int32_t& value)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (end - at > 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, at, sizeof word);
        std::uint32_t magnitude = 0;
        const int digits = EightDigits(word, magnitude);
        // Eight digits may have a ninth: the general loop takes those.
        if (digits < 8) {
            at += digits;
            value = static_cast<std::int32_t>(magnitude);
            return digits > 0;
        }
    }
#endif
    const char* first = at;
    std::uint32_t magnitude = 0;
    while (at < end && static_cast<unsigned char>(*at - '0') <= 9 && at - first < 10)
        magnitude = magnitude * 10 + static_cast<std::uint32_t>(*at++ - '0');
    value = static_cast<std::int32_t>(magnitude);
    return at > first && at - first <= 9;
}

// The code lines of the common form, as a saved file has them: unsigned
// decimal numbers (one, or two split by a comma) and the line end, LF or
// CR LF. Those that stand whole in what the reader has read ahead are
// taken from there, every other line (a comment, a sign, a blank, the
// block's end, a line cut by the end of what was read) is left to the
// general reading of pieces, which reads such a line the same way: so the
// result is the same, a few times faster.
template <std::size_t Columns>
void TakePlainLines(LineReader& in, ChannelData* const (&channels)[Columns])
{
    const std::string_view ahead = in.Ahead();
    const char* at = ahead.data();
    const char* const end = at + ahead.size();
    std::int32_t& count = channels[0]->Count;
    const char* taken = at;
    while (count < SampleCapacity) {
        std::int32_t codes[Columns];
        bool plain = true;
        for (std::size_t column = 0; column < Columns && plain; ++column)
            plain = (column == 0 || (at < end && *at++ == ',')) && TakeDigits(at, end, codes[column]);
        if (plain && at < end && *at == '\r')
            ++at;
        if (!plain || at == end || *at++ != '\n')
            break;
        for (std::size_t column = 0; column < Columns; ++column)
            channels[column]->Codes[count] = codes[column];
        ++count;
        taken = at;
    }
    for (std::size_t column = 1; column < Columns; ++column)
        channels[column]->Count = count;
    in.Skip(static_cast<std::size_t>(taken - ahead.data()));
}

// Reads the data block, handing each line that is not plain to storeLine
// until one it cannot take. A code line never holds a colon, so that line
// ends the block, which is well formed only when it is exactly "DEND:".
template <std::size_t Columns, typename StoreLine>
bool GetCodeLines(LineReader& in, ChannelData* const (&channels)[Columns], StoreLine storeLine)
{
    std::string_view line;
    for (;;) {
        TakePlainLines(in, channels);
        if (!GetLine(in, line))
            return false;
        if (!storeLine(line))
            return line == DataEnd;
    }
}

bool GetData1CH(LineReader& in, ChannelData& channel)
{
    if (!FindLine(in, DataStart))
        return false;
    channel.Count = 0;
    ChannelData* const channels[] = {&channel};
    return GetCodeLines(in, channels, [&channel](std::string_view text) {
        std::int32_t code = 0;
        if (channel.Count >= SampleCapacity || !ParseInteger(text, code))
            return false;
        channel.Codes[channel.Count++] = code;
        return true;
    });
}

bool GetData2CH(LineReader& in, ChannelData& ch0, ChannelData& ch1)
{
    if (!FindLine(in, DataStart))
        return false;
    ch0.Count = 0;
    ch1.Count = 0;
    ChannelData* const channels[] = {&ch0, &ch1};
    return GetCodeLines(in, channels, [&ch0, &ch1](std::string_view text) {
        const std::size_t comma = text.find(',');
        std::int32_t code0 = 0;
        std::int32_t code1 = 0;
        if (comma == std::string_view::npos || ch0.Count >= SampleCapacity
            || !ParseInteger(text.substr(0, comma), code0) || !ParseInteger(text.substr(comma + 1), code1))
            return false;
        ch0.Codes[ch0.Count++] = code0;
        ch1.Codes[ch1.Count++] = code1;
        return true;
    });
}

// The file's channel mode decides the form of the data block; a mode that is
// none of the three reads no block at all.
bool GetData(LineReader& in, const MeasureSettings& settings, ChannelData& ch0, ChannelData& ch1)
{
    switch (settings.CHSel) {
    case ModeCh0:
        if (!GetData1CH(in, ch0))
            return false;
        ch1.Count = 0;
        return true;
    case ModeCh1:
        if (!GetData1CH(in, ch1))
            return false;
        ch0.Count = 0;
        return true;
    case ModeDual:
        return GetData2CH(in, ch0, ch1);
    default:
        return true;
    }
}

} // namespace

TmyFile::TmyFile(ConfirmPrompt& prompt)
    : prompt_(prompt)
{
}

bool TmyFile::SaveFile1CH(const QString& fileName, const MeasureSettings* settings, const ChannelData* channel)
{
    declined_ = false;
    if (!CanSave(channel))
        return false;
    return Save(fileName, settings, [channel](LineWriter& out) { PutData1CH(out, *channel); });
}

bool TmyFile::SaveFile2CH(const QString& fileName, const MeasureSettings* settings, const ChannelData* ch0,
                          const ChannelData* ch1)
{
    declined_ = false;
    // CH1 is written at CH0's indices, so a shorter CH1 would put stale codes
    // in the file as if they were measured.
    if (!CanSave(ch0) || !CanSave(ch1) || ch0->Count != ch1->Count)
        return false;
    return Save(fileName, settings, [ch0, ch1](LineWriter& out) { PutData2CH(out, *ch0, *ch1); });
}

bool TmyFile::LoadFile(const QString& fileName, MeasureSettings* settings, ChannelData* ch0, ChannelData* ch1)
{
    if (fileName.isEmpty() || !settings || !CanLoad(ch0) || !CanLoad(ch1))
        return false;
    LineReader in;
    if (!in.Open(fileName))
        return false;
    std::string_view header;
    return GetLine(in, header) && header == HeaderLine && GetParam(in, *settings) && GetData(in, *settings, *ch0, *ch1);
}

bool TmyFile::Save(const QString& fileName, const MeasureSettings* settings, const DataWriter& putData)
{
    if (fileName.isEmpty() || !settings)
        return false;
    // Declining to overwrite is not a failure: the operator chose to keep the file.
    declined_ = !MayWrite(fileName);
    if (declined_)
        return true;
    LineWriter out;
    if (!out.Open(fileName))
        return false;
    out.PutLine(HeaderLine);
    PutParam(out, *settings);
    putData(out);
    return out.Commit();
}

bool TmyFile::MayWrite(const QString& fileName)
{
    return MayOverwrite(prompt_, fileName);
}
