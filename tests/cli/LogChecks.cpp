#include "LogChecks.h"

#include <QFile>

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CliProcess::Environment CountingBoard(CliProcess::Environment more)
{
    if (!more.contains(QStringLiteral("KORVADEX_SIM_SPEED")))
        more.insert(QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("20"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER"), QStringLiteral("1"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER_START"), QString::number(CounterStart));
    return more;
}

QStringList LogWords(const QString& path, const QString& rate, QStringList more)
{
    return QStringList{QStringLiteral("log"),       QStringLiteral("--rate"),   rate,
                       QStringLiteral("--channel"), QStringLiteral("0"),        QStringLiteral("--filter"),
                       QStringLiteral("sinc5"),     QStringLiteral("-o"),       path}
           + more;
}

ParsedLog ParseLog(const QByteArray& text)
{
    ParsedLog log;
    log.Whole = text.endsWith('\n');
    for (qsizetype block = 4096; block <= text.size(); block += 4096)
        log.Whole = log.Whole && text[block - 1] == '\n';
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& line : lines.mid(0, lines.size() - 1)) {
        if (line.startsWith('#')) {
            // Lines of blanks only fill a block up.
            if (!line.mid(1).trimmed().isEmpty())
                log.Comments << QString::fromUtf8(line.mid(2));
            continue;
        }
        if (line == "time,run,sample,ch0_code,ch0_uV")
            continue;
        const QList<QByteArray> fields = line.split(',');
        bool runOk = false;
        bool sampleOk = false;
        const int run = fields.value(1).toInt(&runOk);
        const int sample = fields.value(2).toInt(&sampleOk);
        if (fields.size() != 5 || !runOk || !sampleOk || run < 1 || run > static_cast<int>(log.Runs.size()) + 1) {
            log.Whole = false;
            continue;
        }
        if (run > static_cast<int>(log.Runs.size()))
            log.Runs.emplace_back();
        log.Whole = log.Whole && sample == static_cast<int>(log.Runs[run - 1].size());
        log.Runs[run - 1].push_back(fields[3].toInt());
    }
    return log;
}

bool CountsUpFromStart(const std::vector<std::int32_t>& codes)
{
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != CounterStart + static_cast<std::int32_t>(i))
            return false;
    }
    return !codes.empty();
}
