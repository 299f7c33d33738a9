#include "DtaFiles.h"

#include "ForcePrompt.h"
#include "Myfile.h"

#include <QFile>

QString DtaFiles::Path(const QString& name) const
{
    return dir_.filePath(name);
}

QString DtaFiles::Write(const QString& name, const MeasureSettings& s, const QStringList& dataLines) const
{
    QStringList lines = {QStringLiteral("AD7175_DataFile:"), QStringLiteral("M:")};
    lines << QStringLiteral("spsSel:%1").arg(s.spsSel) << QStringLiteral("DataCountSel:%1").arg(s.DataCountSel)
          << QStringLiteral("CHSel:%1").arg(s.CHSel) << QStringLiteral("GainSel:%1").arg(s.GainSel)
          << QStringLiteral("fSinc5:%1").arg(s.fSinc5) << QStringLiteral("fBUF_ON:%1").arg(s.fBUF_ON)
          << QStringLiteral("MEND:") << QStringLiteral("D:") << dataLines << QStringLiteral("DEND:");
    return WriteText(name, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
}

QString DtaFiles::WriteText(const QString& name, const QByteArray& text) const
{
    const QString path = Path(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

LoadedRun LoadDta(const QString& path)
{
    auto ch0 = std::make_unique<std::int32_t[]>(SampleCapacity);
    auto ch1 = std::make_unique<std::int32_t[]>(SampleCapacity);
    ChannelData data0{0, ch0.get(), nullptr};
    ChannelData data1{0, ch1.get(), nullptr};
    ForcePrompt prompt(false);
    TmyFile file(prompt);
    LoadedRun run;
    run.Ok = file.LoadFile(path, &run.Settings, &data0, &data1);
    run.Ch0.assign(ch0.get(), ch0.get() + data0.Count);
    run.Ch1.assign(ch1.get(), ch1.get() + data1.Count);
    return run;
}
