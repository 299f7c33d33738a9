#pragma once

#include "ChannelData.h"
#include "ConfirmPrompt.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <string>
#include <vector>

// A folder of its own for each test, removed with it; files go in and come
// out as raw bytes.
class TempFolder {
public:
    QString Path(const QString& name) const;
    void Write(const QString& name, const std::string& bytes) const;
    std::string Read(const QString& name) const;
    QStringList Entries() const;

private:
    QTemporaryDir dir_;
};

// Ends every line of text (written with "\n") with CR LF.
std::string WithCrLf(const std::string& text);

// The window's four sample arrays, exactly SampleCapacity long so that the
// sanitizers catch any store beyond them, and the two channel views.
struct SampleArrays {
    SampleArrays();

    std::vector<std::int32_t> Codes0, Codes1;
    std::vector<float> Microvolts0, Microvolts1;
    ChannelData Ch0, Ch1;
};

// Answers the overwrite question as told and remembers what it was asked.
class ScriptedPrompt : public ConfirmPrompt {
public:
    bool AskYesNo(const QString& caption, const QString& text) override;

    bool Answer = true;
    int Asked = 0;
    QString Caption;
    QString Text;
};
