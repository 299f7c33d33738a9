#pragma once

#include <cstdint>

// The HDF5 long-term log: the names, types and words that the writer, the
// readers, the Python package and the README share. A file is a log of this
// program when its root carries Format with FormatVersion.
//
//   /codes   int32 (H5T_STD_I32LE), chunked, shuffle + deflate, unlimited
//            along the first axis: shape (n) for one channel, (n, 2) for
//            CH0 + CH1 (column 0 CH0, column 1 CH1). Converter codes, offset
//            binary; attribute "channels" ("ch0", "ch1" or "ch0,ch1").
//   /runs    one row per run (compound, unlimited): run number from 1, start
//            (UTC, the text log's ISO form), index of its first sample in
//            /codes, its samples (pairs), and how it ended. The row is written
//            when the run starts ("running") and rewritten when it ends.
//   /events  one row per gap between runs, lost board, board back, and the
//            log's end (compound, unlimited): time, kind, run, seconds, and
//            the text log's comment for it.
//   /summary/level1 .. level7
//            block summaries of /codes (compound, unlimited, shape (n) or
//            (n, 2) as /codes): row i of level k covers samples
//            [i·B, (i + 1)·B) of /codes, B = 4096 · 16^(k − 1), whatever
//            runs it spans; only whole blocks have a row. Per channel: min,
//            max, count, the exact sum of codes and the squared deviations
//            about the block's mean (Chan's merge joins rows exactly).
//
// Root attributes: the words of the text log's head (program, board,
// settings, started), the board's serial, the program's version, the settings
// as numbers, and the constants of the window's microvolt conversion:
//   µV = (code − mid_scale) · reference_uV / code_steps / gain_divisor
// worked in extended precision and kept as a float, as the window keeps it.
namespace LogLayout {

constexpr const char* Format = "korvadex-log";
constexpr std::int32_t FormatVersion = 1;

// Datasets
constexpr const char* Codes = "codes";
constexpr const char* Runs = "runs";
constexpr const char* Events = "events";
constexpr const char* Summary = "summary";  // a group of levels "level1" ..

// Block summaries: a level-1 row covers SummaryBlock samples (pairs), each
// level above SummaryFanOut rows of the one below. SWMR writing cannot add
// datasets, so every level is made with the log, empty; a level gains its
// first row once the one below has SummaryFanOut. The top level's sums stay
// within int64 (2^24 · 4096 · 16^6 = 2^60) and it covers 6.4 days of
// 125 ksps a row.
constexpr std::int64_t SummaryBlock = 4096;
constexpr int SummaryFanOut = 16;
constexpr int SummaryLevels = 7;
constexpr const char* SummaryLevelPrefix = "level";  // "level1" is level 1

// Root attributes: UTF-8 strings
constexpr const char* FormatAttribute = "format";           // Format
constexpr const char* ProgramAttribute = "program";         // "korvadex-cli log"
constexpr const char* ProgramVersionAttribute = "program_version";
constexpr const char* BoardAttribute = "board";             // "KORVADEX / V1.00"
constexpr const char* BoardSerialAttribute = "board_serial"; // empty when the driver gives none
constexpr const char* SettingsAttribute = "settings";       // "10ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1"
constexpr const char* StartedAttribute = "started";         // "2026-12-08T21:40:12.345Z"
// Root attributes: numbers
constexpr const char* FormatVersionAttribute = "format_version"; // int32
constexpr const char* RateItemAttribute = "rate_item";           // int32, spsSel
constexpr const char* CountItemAttribute = "count_item";         // int32, DataCountSel
constexpr const char* ChannelModeAttribute = "channel_mode";     // int32, CHSel: 0 CH0, 1 CH1, 2 both
constexpr const char* FilterAttribute = "filter";                // int32, fSinc5: 0 Sinc3, 1 Sinc5+Sinc1
constexpr const char* SampleRateAttribute = "sample_rate_hz";    // double, nominal samples (pairs) a second
constexpr const char* GainDivisorAttribute = "gain_divisor";     // int32
constexpr const char* MidScaleAttribute = "mid_scale";           // int32, 8388608
constexpr const char* ReferenceAttribute = "reference_uV";       // double, 2500000
constexpr const char* CodeStepsAttribute = "code_steps";         // int32, 8388607

// /codes attribute
constexpr const char* ChannelsAttribute = "channels";  // "ch0", "ch1", "ch0,ch1"

// /summary attributes: int32
constexpr const char* BlockSamplesAttribute = "block_samples";  // SummaryBlock
constexpr const char* FanOutAttribute = "fan_out";              // SummaryFanOut

// /summary/levelK fields, per channel
constexpr const char* MinField = "min";      // int32
constexpr const char* MaxField = "max";      // int32
constexpr const char* CountField = "count";  // int64, samples covered
constexpr const char* SumField = "sum";      // int64, of the codes
constexpr const char* M2Field = "m2";        // double, Σ (code − block mean)²

// /runs fields
constexpr const char* RunField = "run";                 // int32
constexpr const char* StartField = "start";             // fixed string of TimeLength bytes
constexpr const char* FirstSampleField = "first_sample"; // int64
constexpr const char* SamplesField = "samples";         // int64
constexpr const char* EndField = "end";                 // fixed string of WordLength bytes, NUL-padded

// How a run ended
constexpr const char* EndRunning = "running";  // still going, or the writer was killed
constexpr const char* EndComplete = "complete";
constexpr const char* EndStopped = "stopped";
constexpr const char* EndReadError = "read error";
constexpr const char* EndBoardError = "board error";
constexpr const char* EndReconnect = "reconnect";  // failed, and the log waited for the board

// /events fields
constexpr const char* TimeField = "time";      // fixed string of TimeLength bytes
constexpr const char* KindField = "kind";      // fixed string of WordLength bytes
constexpr const char* EventRunField = "run";   // int32: the run after a gap, the run lost
constexpr const char* SecondsField = "seconds"; // double: the gap, the time lost
constexpr const char* TextField = "text";      // fixed string of TextLength bytes

// Kinds of event
constexpr const char* EventGap = "gap";
constexpr const char* EventLost = "lost";
constexpr const char* EventBack = "back";
constexpr const char* EventGivenUp = "given up";
constexpr const char* EventEnd = "end";

constexpr int TimeLength = 24;   // "2026-12-08T21:40:12.345Z"
constexpr int WordLength = 16;
constexpr int TextLength = 160;

} // namespace LogLayout
