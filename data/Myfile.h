#pragma once

#include "ChannelData.h"
#include "ConfirmPrompt.h"
#include "MeasureSettings.h"

#include <QString>

#include <functional>

class LineWriter;

// Saves a run with its settings as a ".DTA" text file and reads one back.
// Each operation opens, uses and closes its file; only whether the latest save
// was declined is kept.
// Results are reported only as true (success) or false; the one question it
// ever asks is whether to overwrite an existing file.
class TmyFile {
public:
    explicit TmyFile(ConfirmPrompt& prompt);

    bool SaveFile1CH(const QString& fileName, const MeasureSettings* settings, const ChannelData* channel);
    bool SaveFile2CH(const QString& fileName, const MeasureSettings* settings, const ChannelData* ch0,
                     const ChannelData* ch1);

    // True when the latest save ended at the overwrite question answered No:
    // it reported success, but nothing was written.
    bool OverwriteDeclined() const { return declined_; }

    // Fills settings with the keys found and the channels' Codes and Count
    // with the data block; on failure they hold what was read before the fault.
    bool LoadFile(const QString& fileName, MeasureSettings* settings, ChannelData* ch0, ChannelData* ch1);

private:
    using DataWriter = std::function<void(LineWriter&)>;

    bool Save(const QString& fileName, const MeasureSettings* settings, const DataWriter& putData);
    bool MayWrite(const QString& fileName);

    ConfirmPrompt& prompt_;
    bool declined_ = false;
};
