#pragma once

#include "LogRecords.h"

#include <gtest/gtest.h>

#include <vector>

// Every run and every event of an opened log reader, read in one page.
template <typename Reader>
std::vector<LogRun> RunsOf(Reader& reader)
{
    std::vector<LogRun> runs;
    EXPECT_TRUE(reader.ReadRuns(0, reader.RunCount(), runs)) << reader.Error().toStdString();
    return runs;
}

template <typename Reader>
std::vector<LogEvent> EventsOf(Reader& reader)
{
    std::vector<LogEvent> events;
    EXPECT_TRUE(reader.ReadEvents(0, reader.EventCount(), events)) << reader.Error().toStdString();
    return events;
}
