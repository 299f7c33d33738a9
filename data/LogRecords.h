#pragma once

#include "MeasureSettings.h"

#include <cstdint>
#include <string>

// What a long-term log holds besides its samples, as its readers give it,
// whether the log is the text form or the HDF5 form.

// The log's head: the settings of its runs and the board that took them.
struct LogHead {
    MeasureSettings Settings;
    std::string Board;          // "KORVADEX / V1.00"
    std::string BoardSerial;    // empty when unknown
    std::string SettingsText;   // "10ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1"
    std::string Started;        // "2026-12-08T21:40:12.345Z"
    std::string ProgramVersion; // empty when the log does not say
};

// One run: where its samples (pairs) lie in the log and how it ended (the
// words of LogLayout: "complete", "stopped", "read error", "board error",
// "reconnect", or "running" for the last run of a log whose writer was
// killed).
struct LogRun {
    std::int32_t Run = 0;
    std::string Start;  // UTC, "2026-12-08T21:40:12.345Z"
    std::int64_t FirstSample = 0;
    std::int64_t Samples = 0;
    std::string End;
};

// A gap between two runs, a lost board, the board back, the wait given up,
// the log's end.
struct LogEvent {
    std::string Time;  // UTC, as Start
    std::string Kind;  // "gap", "lost", "back", "given up", "end"
    std::int32_t Run = 0;
    double Seconds = 0.0;
    std::string Text;  // the text log's comment for it
};
