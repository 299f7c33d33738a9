// Feeds arbitrary bytes to TmyFile::LoadFile. Whatever the bytes, the load
// must stay inside the sample arrays and leave sane counts; a file it accepts
// must save and load back to the very same settings and codes.
#include "DataDoubles.h"
#include "Myfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "LoadFile fuzz: %s\n", what);
        std::abort();
    }
}

void RequireSaneCount(const ChannelData& channel)
{
    Require(channel.Count >= 0 && channel.Count <= SampleCapacity, "count outside the arrays");
}

bool SameCodes(const ChannelData& a, const ChannelData& b)
{
    return a.Count == b.Count && std::equal(a.Codes, a.Codes + a.Count, b.Codes);
}

bool SameStoredSettings(const MeasureSettings& a, const MeasureSettings& b)
{
    return a.spsSel == b.spsSel && a.DataCountSel == b.DataCountSel && a.CHSel == b.CHSel && a.GainSel == b.GainSel
           && a.fSinc5 == b.fSinc5 && a.fBUF_ON == b.fBUF_ON;
}

QString ScratchPath(const char* name)
{
    const QString file = QStringLiteral("korvadex-fuzz-%1-%2.DTA").arg(QCoreApplication::applicationPid()).arg(name);
    return QDir::temp().filePath(file);
}

void WriteInput(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile out(path);
    Require(out.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input file");
    out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

// A file that loaded with channel data saves and loads back unchanged.
void CheckRoundTrip(TmyFile& file, const MeasureSettings& settings, const SampleArrays& loaded)
{
    const QString path = ScratchPath("again");
    const bool saved = settings.CHSel == ModeDual ? file.SaveFile2CH(path, &settings, &loaded.Ch0, &loaded.Ch1)
                       : settings.CHSel == ModeCh1 ? file.SaveFile1CH(path, &settings, &loaded.Ch1)
                                                   : file.SaveFile1CH(path, &settings, &loaded.Ch0);
    Require(saved, "a loaded run does not save");
    static SampleArrays again;
    MeasureSettings reread;
    Require(file.LoadFile(path, &reread, &again.Ch0, &again.Ch1), "a saved run does not load");
    Require(SameStoredSettings(settings, reread), "settings changed on the way round");
    Require(SameCodes(loaded.Ch0, again.Ch0) && SameCodes(loaded.Ch1, again.Ch1), "codes changed on the way round");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ScriptedPrompt prompt;  // answers yes
    static TmyFile file(prompt);
    static SampleArrays arrays;
    static const QString input = ScratchPath("input");

    WriteInput(input, data, size);
    arrays.Ch0.Count = 0;
    arrays.Ch1.Count = 0;
    MeasureSettings settings;
    const bool loaded = file.LoadFile(input, &settings, &arrays.Ch0, &arrays.Ch1);
    RequireSaneCount(arrays.Ch0);
    RequireSaneCount(arrays.Ch1);
    if (loaded && settings.CHSel >= ModeCh0 && settings.CHSel <= ModeDual)
        CheckRoundTrip(file, settings, arrays);
    QFile::remove(input);
    QFile::remove(ScratchPath("again"));
    return 0;
}
