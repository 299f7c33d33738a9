#pragma once

// Stand-ins for what the window gives the data files, header-only so that the
// benchmark and the fuzz target use them as well.

#include "ChannelData.h"
#include "ConfirmPrompt.h"

#include <QString>

#include <cstdint>
#include <vector>

// The window's four sample arrays, exactly SampleCapacity long so that the
// sanitizers catch any store beyond them, and the two channel views.
struct SampleArrays {
    SampleArrays() = default;
    SampleArrays(const SampleArrays&) = delete;  // the views would point into the original
    SampleArrays& operator=(const SampleArrays&) = delete;

    std::vector<std::int32_t> Codes0 = std::vector<std::int32_t>(SampleCapacity);
    std::vector<std::int32_t> Codes1 = std::vector<std::int32_t>(SampleCapacity);
    std::vector<float> Microvolts0 = std::vector<float>(SampleCapacity);
    std::vector<float> Microvolts1 = std::vector<float>(SampleCapacity);
    ChannelData Ch0{0, Codes0.data(), Microvolts0.data()};
    ChannelData Ch1{0, Codes1.data(), Microvolts1.data()};
};

// Answers the overwrite question as told and remembers what it was asked.
class ScriptedPrompt : public ConfirmPrompt {
public:
    bool AskYesNo(const QString& caption, const QString& text) override
    {
        ++Asked;
        Caption = caption;
        Text = text;
        return Answer;
    }

    bool Answer = true;
    int Asked = 0;
    QString Caption;
    QString Text;
};
