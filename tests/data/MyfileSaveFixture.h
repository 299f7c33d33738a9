#pragma once

#include "DataFixtures.h"
#include "Myfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

// A file saver in a folder of its own, with arrays to fill and a scripted
// answer to "overwrite?".
class MyfileSave : public ::testing::Test {
protected:
    QString Path(const char* name) const { return folder.Path(QString::fromLatin1(name)); }

    void Fill(ChannelData& channel, std::initializer_list<std::int32_t> codes)
    {
        channel.Count = 0;
        for (const std::int32_t code : codes)
            channel.Codes[channel.Count++] = code;
    }

    TempFolder folder;
    SampleArrays arrays;
    ScriptedPrompt prompt;
    TmyFile file{prompt};
    MeasureSettings settings;
};
