#include "LogPick.h"

#include "LogSource.h"
#include "MeasureItems.h"
#include "SampleTime.h"


const QString LogPick::RunsOption = QStringLiteral("--runs");
const QString LogPick::FromOption = QStringLiteral("--from");
const QString LogPick::ToOption = QStringLiteral("--to");

namespace {

std::optional<std::int32_t> RunNumber(const QString& text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1)
        return std::nullopt;
    return number;
}

std::optional<QDateTime> UtcTime(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid() || !text.endsWith(QLatin1Char('Z')))
        return std::nullopt;
    return time.toUTC();
}

} // namespace

std::vector<CommandLine::Option> LogPick::Options()
{
    return {{RunsOption, true}, {FromOption, true}, {ToOption, true}};
}

QString LogPick::Parse(const CommandLine& line)
{
    if (line.Has(RunsOption)) {
        const QString value = line.Value(RunsOption);
        const QStringList ends = value.split(QLatin1Char('-'));
        firstRun_ = RunNumber(ends.front());
        lastRun_ = ends.size() == 2 ? RunNumber(ends.back()) : firstRun_;
        if (ends.size() > 2 || !firstRun_ || !lastRun_ || *lastRun_ < *firstRun_)
            return QStringLiteral("--runs takes N or A-B, run numbers from 1 with A <= B, not %1").arg(value);
    }
    for (const auto& [option, time] : {std::make_pair(FromOption, &from_), std::make_pair(ToOption, &to_)}) {
        if (!line.Has(option))
            continue;
        *time = UtcTime(line.Value(option));
        if (!*time)
            return QStringLiteral("%1 takes a UTC time as the log writes it, such as 2026-12-08T21:40:12.345Z, not %2")
                .arg(option, line.Value(option));
    }
    if (from_ && to_ && *to_ <= *from_)
        return QStringLiteral("--to must come after --from");
    return QString();
}

bool LogPick::PicksPart() const
{
    return firstRun_ || from_ || to_;
}

bool LogPick::Pieces(LogSource& log, std::vector<LogBlocks::Piece>& pieces) const
{
    const double rate = MeasureItems::SampleRate(log.Head().Settings);
    pieces.clear();
    return log.ForEachRun([&](const LogRun& run) {
        if ((firstRun_ && run.Run < *firstRun_) || (lastRun_ && run.Run > *lastRun_))
            return;
        std::int64_t first = 0;
        std::int64_t last = run.Samples;
        if (from_ || to_) {
            const QDateTime start = QDateTime::fromString(QString::fromStdString(run.Start), Qt::ISODateWithMs);
            if (!start.isValid())
                return;
            if (from_)
                first = SampleTime::IndexAt(start, *from_, rate, run.Samples);
            if (to_)
                last = SampleTime::IndexAt(start, *to_, rate, run.Samples);
        }
        if (last <= first)
            return;
        // Runs lie one after the other in the codes: a piece grows across
        // them, so that a week of runs is one piece, not a million.
        if (!pieces.empty() && pieces.back().First + pieces.back().Count == run.FirstSample + first)
            pieces.back().Count += last - first;
        else
            pieces.push_back({run.FirstSample + first, last - first});
    });
}

QString LogPick::NothingPicked() const
{
    // "the log holds no samples in runs 4-5 from … to …"
    QString text = QStringLiteral("the log holds no samples");
    if (firstRun_)
        text += *firstRun_ == *lastRun_ ? QStringLiteral(" in run %1").arg(*firstRun_)
                                        : QStringLiteral(" in runs %1-%2").arg(*firstRun_).arg(*lastRun_);
    if (from_)
        text += QStringLiteral(" from %1").arg(from_->toString(Qt::ISODateWithMs));
    if (to_)
        text += QStringLiteral(" to %1").arg(to_->toString(Qt::ISODateWithMs));
    return text;
}
