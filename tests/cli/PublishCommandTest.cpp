// log --publish against a real mosquitto on the loopback address: what a
// dashboard hears, and a broker that goes away, comes back or refuses.

#include "Broker.h"
#include "CliProcess.h"
#include "LogChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

namespace {

// Each case, and each try of it, publishes under a prefix of its own: under
// Wine the cases share the run's brokers, and a status retained by one must
// not answer another.
QString Prefix()
{
    return QStringLiteral("lab-%1-%2")
        .arg(QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name()))
        .arg(QCoreApplication::applicationPid());
}

QStringList Publishing(const QString& path, const Broker& broker, QStringList more = {})
{
    return LogWords(path, QStringLiteral("10ksps"), QStringList{QStringLiteral("--publish"), broker.Url(Prefix())} + more);
}

std::vector<Heard> OfKind(const std::vector<Heard>& heard, const QString& kind)
{
    std::vector<Heard> found;
    for (const Heard& message : heard) {
        if (message.Topic == Prefix() + QStringLiteral("/KVX0001/") + kind)
            found.push_back(message);
    }
    return found;
}

QString ClosingComment(const QString& path)
{
    const ParsedLog log = ParseLog(Contents(path));
    return log.Comments.isEmpty() ? QString() : log.Comments.back();
}

class PublishCommand : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("log.csv"));
};

class PublishedLog : public PublishCommand, public ::testing::WithParamInterface<const char*> {};

// Each second's summary holds that second's samples and the figures that
// report --json gives for --from that second --to the next, on a text log as
// on an HDF5 log; the status goes online, then offline, and the end event
// carries the log's own words.
TEST_P(PublishedLog, SummariesAreTheLogsOwnFiguresOfEachSecond)
{
    Broker broker;
    ASSERT_TRUE(broker.Start());
    Listener listener(broker, Prefix());
    // The board in real time, so that the seconds are the wall clock's.
    const QString log = folder.filePath(QString::fromUtf8(GetParam()));
    const CliResult r = CliProcess::Run(Publishing(log, broker, {QStringLiteral("--duration"), QStringLiteral("3.5")}));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    ASSERT_TRUE(listener.WaitFor(QStringLiteral("status"), QStringLiteral("state"), QStringLiteral("offline"), 5000));
    const std::vector<Heard> heard = listener.Messages();
    const std::vector<Heard> status = OfKind(heard, QStringLiteral("status"));
    ASSERT_EQ(status.size(), 2u);
    EXPECT_EQ(status[0].Message.value(QStringLiteral("state")).toString(), QStringLiteral("online"));
    EXPECT_EQ(status[0].Message.value(QStringLiteral("file")).toString(), QString::fromUtf8(GetParam()));
    const std::vector<Heard> events = OfKind(heard, QStringLiteral("event"));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Message.value(QStringLiteral("kind")).toString(), QStringLiteral("end"));
    EXPECT_TRUE(events.back().Message.value(QStringLiteral("text")).toString().startsWith(QStringLiteral("ended after")));

    const std::vector<Heard> summaries = OfKind(heard, QStringLiteral("summary"));
    ASSERT_GE(summaries.size(), 3u);
    std::int64_t samples = 0;
    for (const Heard& summary : summaries)
        samples += summary.Message.value(QStringLiteral("samples")).toInteger();
    EXPECT_TRUE(r.OutLines().back().endsWith(QStringLiteral("%1 samples").arg(samples))) << r.Out.toStdString();

    const QJsonObject second = summaries[1].Message;
    const QDateTime from = QDateTime::fromString(second.value(QStringLiteral("time")).toString(), Qt::ISODate);
    const CliResult report = CliProcess::Run({QStringLiteral("report"), QStringLiteral("--json"), QStringLiteral("--from"),
                                              from.toString(Qt::ISODateWithMs), QStringLiteral("--to"),
                                              from.addSecs(1).toString(Qt::ISODateWithMs), log});
    ASSERT_EQ(report.ExitCode, 0) << report.Err.toStdString();
    const QJsonArray channels =
        QJsonDocument::fromJson(report.Out.toUtf8()).object().value(QStringLiteral("channels")).toArray();
    ASSERT_EQ(channels.size(), 1);
    for (int c = 0; c < channels.size(); ++c) {
        SCOPED_TRACE(c);
        const QJsonObject expected = channels[c].toObject();
        const QJsonObject microvolts = expected.value(QStringLiteral("microvolts")).toObject();
        const QJsonObject figures = second.value(QStringLiteral("ch%1").arg(c)).toObject();
        const auto value = [](const QJsonObject& object, const char* key) {
            return static_cast<float>(object.value(QString::fromUtf8(key)).toDouble());
        };
        EXPECT_EQ(second.value(QStringLiteral("samples")).toInteger(), expected.value(QStringLiteral("count")).toInteger());
        EXPECT_EQ(value(figures, "min_uV"), value(microvolts, "min"));
        EXPECT_EQ(value(figures, "max_uV"), value(microvolts, "max"));
        EXPECT_EQ(value(figures, "pp_uV"), value(microvolts, "pp"));
        EXPECT_FLOAT_EQ(value(figures, "sigma_uV"), value(microvolts, "deviation"));
        EXPECT_FLOAT_EQ(value(figures, "mean_uV"), value(expected, "mean_uV"));
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, PublishedLog, ::testing::Values("log.h5", "log.csv"));

// kill -9 leaves the broker the last will: "offline", retained, so that a
// dashboard that looks later still sees it.
TEST_F(PublishCommand, AKilledLogIsSaidOfflineByItsLastWill)
{
    Broker broker;
    ASSERT_TRUE(broker.Start());
    Listener listener(broker, Prefix());
    const auto online = [&] {
        return listener.WaitFor(QStringLiteral("summary"), QStringLiteral("serial"), QStringLiteral("KVX0001"), 0);
    };
    const CliResult r = CliProcess::RunSignalledWhen(Publishing(path, broker), CountingBoard(), online, Stop::Kill);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(listener.WaitFor(QStringLiteral("status"), QStringLiteral("state"), QStringLiteral("offline"), 5000));
    Listener later(broker, Prefix());
    EXPECT_TRUE(later.WaitFor(QStringLiteral("status"), QStringLiteral("state"), QStringLiteral("offline"), 3000));
}

// The broker stopped mid-log and started again: the log is whole, the
// summaries of the outage arrive once it is back, and nothing is lost.
TEST_F(PublishCommand, ABrokerThatGoesAndComesBackLosesNothing)
{
    Broker broker;
    ASSERT_TRUE(broker.Start());
    std::optional<Listener> listener(std::in_place, broker, Prefix());
    QElapsedTimer away;
    QDateTime back;
    const auto resumed = [&] {
        if (!away.isValid() && listener
            && listener->WaitFor(QStringLiteral("summary"), QStringLiteral("serial"), QStringLiteral("KVX0001"), 0)) {
            listener.reset();
            broker.Stop();
            away.start();
        }
        if (away.isValid() && !back.isValid() && away.elapsed() > 2000) {
            broker.Start();
            back = QDateTime::currentDateTimeUtc();
            listener.emplace(broker, Prefix());
        }
        // Done once a summary of a second after the restart came through.
        if (!back.isValid())
            return false;
        for (const Heard& summary : OfKind(listener->Messages(), QStringLiteral("summary"))) {
            if (QDateTime::fromString(summary.Message.value(QStringLiteral("time")).toString(), Qt::ISODate) > back)
                return true;
        }
        return false;
    };
    const CliResult r = CliProcess::RunSignalledWhen(Publishing(path, broker), CountingBoard(), resumed, Stop::CtrlC);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 130) << r.Err.toStdString();
    ASSERT_TRUE(listener->WaitFor(QStringLiteral("status"), QStringLiteral("state"), QStringLiteral("offline"), 5000));
    const ParsedLog log = ParseLog(Contents(path));
    ASSERT_TRUE(log.Whole);
    ASSERT_GE(log.Runs.size(), 2u);
    for (std::size_t run = 0; run + 1 < log.Runs.size(); ++run)
        EXPECT_TRUE(CountsUpFromStart(log.Runs[run])) << "run " << run + 1;
    EXPECT_FALSE(log.Comments.back().contains(QStringLiteral("not delivered"))) << log.Comments.back().toStdString();
    // Summaries of seconds before the restart came after it, from the queue.
    bool queued = false;
    for (const Heard& summary : OfKind(listener->Messages(), QStringLiteral("summary")))
        queued = queued || QDateTime::fromString(summary.Message.value(QStringLiteral("time")).toString(), Qt::ISODate) < back.addSecs(-1);
    EXPECT_TRUE(queued);
}

// The closing comment of a three-second log published to `broker`, which
// `during` may act on once the first summary is out (false: the log goes on).
QString ClosingCommentOfLog(const QString& path, Broker& broker, const QStringList& more,
                            const std::function<void()>& during = {})
{
    std::optional<Listener> listener;
    if (during)
        listener.emplace(broker, Prefix());
    const auto act = [&] {
        if (listener
            && listener->WaitFor(QStringLiteral("summary"), QStringLiteral("serial"), QStringLiteral("KVX0001"), 0)) {
            listener.reset();
            during();
        }
        return false;
    };
    const CliResult r = CliProcess::RunSignalledWhen(
        Publishing(path, broker, QStringList{QStringLiteral("--duration"), QStringLiteral("3")} + more), CountingBoard(),
        act, Stop::CtrlC);
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    return ClosingComment(path);
}

// A broker gone for good: the log goes on to its end, and its closing
// comment counts what was not delivered, and why.
TEST_F(PublishCommand, WhatABrokerGoneForGoodMissedIsCounted)
{
    Broker broker;
    ASSERT_TRUE(broker.Start());
    const QString closing = ClosingCommentOfLog(path, broker, {}, [&] { broker.Stop(); });
    EXPECT_TRUE(closing.contains(QStringLiteral("live messages not delivered (the broker went away)"))) << closing.toStdString();
}

// A broker that refuses the password: the same, with the broker's words.
TEST_F(PublishCommand, ARefusedPasswordIsNamedAndTheLogGoesOn)
{
    const QString passwordFile = folder.filePath(QStringLiteral("password"));
    QFile file(passwordFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("wrong\n");
    file.close();
    Broker broker(QStringLiteral("right"));
    ASSERT_TRUE(broker.Start());
    const QString closing = ClosingCommentOfLog(
        path, broker,
        {QStringLiteral("--mqtt-user"), QStringLiteral("lab"), QStringLiteral("--mqtt-password-file"), passwordFile});
    EXPECT_TRUE(closing.contains(QStringLiteral("live messages not delivered (the broker refused the connection")))
        << closing.toStdString();
}

// Without a broker: the summaries as InfluxDB line protocol, one line per
// channel and second, whose samples add up to the log's.
TEST_F(PublishCommand, InfluxFileHoldsALinePerSecond)
{
    const QString lines = folder.filePath(QStringLiteral("live.lp"));
    const QStringList words = LogWords(path, QStringLiteral("10ksps"),
                                       {QStringLiteral("--runs"), QStringLiteral("3"), QStringLiteral("--publish"),
                                        QStringLiteral("influx-file:") + lines});
    const CliResult r = CliProcess::Run(words, CountingBoard());
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QRegularExpression line(QStringLiteral(
        "^korvadex,serial=KVX0001,channel=ch0 max_uV=[-0-9.e]+,mean_uV=[-0-9.e]+,min_uV=[-0-9.e]+,pp_uV=[0-9.e]+,"
        "sigma_uV=[0-9.e]+,samples=([0-9]+)i,reconnects=0i [0-9]{19}$"));
    std::int64_t samples = 0;
    const QStringList written = QString::fromUtf8(Contents(lines)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& text : written) {
        const QRegularExpressionMatch match = line.match(text);
        ASSERT_TRUE(match.hasMatch()) << text.toStdString();
        samples += match.captured(1).toLongLong();
    }
    EXPECT_GE(written.size(), 30);  // three runs of ten nominal seconds each
    EXPECT_EQ(samples, 300000);
}

// test --publish: each board's verdict in short, retained on
// PREFIX/SERIAL/test, so that a dashboard that looks after the test still
// sees a passed, a failed and an unreachable board, with the records' run ids.
TEST_F(PublishCommand, TestPublishesEachBoardsVerdictRetained)
{
    QFile plan(folder.filePath(QStringLiteral("plan.toml")));
    ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
    plan.write("[plan]\nname = \"offset\"\nversion = \"1\"\n\n[[step]]\nname = \"offset\"\nrate = \"1ksps\"\n"
               "count = 500\nchannel = 0\nfilter = \"sinc5\"\n\n[step.limits]\nmean_uV = { low = 950, high = 1050 }\n");
    plan.close();
    Broker broker;
    ASSERT_TRUE(broker.Start());
    const QString records = folder.filePath(QStringLiteral("records"));
    QStringList words{QStringLiteral("test"), plan.fileName(), QStringLiteral("--keep"), folder.filePath(QStringLiteral("raw")),
                      QStringLiteral("--json"), records, QStringLiteral("--db"),
                      QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("results.sqlite")),
                      QStringLiteral("--publish"), broker.Url(Prefix())};
    for (const char* serial : {"KVX0101", "KVX0102", "KVX0109"})
        words << QStringLiteral("--board") << QString::fromLatin1(serial);
    const CliResult r = CliProcess::Run(
        words, {{QStringLiteral("KORVADEX_SIM_DEVICES"), QStringLiteral("KVX0101:board,KVX0102:board:offset_uV=120")},
                {QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("10")}});
    EXPECT_EQ(r.ExitCode, 3) << r.Err.toStdString();
    EXPECT_FALSE(r.Err.contains(QStringLiteral("not delivered"))) << r.Err.toStdString();

    Listener later(broker, Prefix());
    ASSERT_TRUE(later.WaitFor(QStringLiteral("test"), QStringLiteral("serial"), QStringLiteral("KVX0109"), 5000));
    ASSERT_TRUE(later.WaitFor(QStringLiteral("test"), QStringLiteral("serial"), QStringLiteral("KVX0102"), 5000));
    ASSERT_TRUE(later.WaitFor(QStringLiteral("test"), QStringLiteral("serial"), QStringLiteral("KVX0101"), 5000));
    std::map<QString, QJsonObject> verdicts;
    for (const Heard& heard : later.Messages())
        verdicts[heard.Topic] = heard.Message;
    const auto verdict = [&](const char* serial) { return verdicts[Prefix() + QStringLiteral("/%1/test").arg(QLatin1String(serial))]; };
    EXPECT_EQ(verdict("KVX0101")[QStringLiteral("outcome")].toString(), QStringLiteral("PASS"));
    EXPECT_TRUE(verdict("KVX0101")[QStringLiteral("not_passed")].toArray().isEmpty());
    EXPECT_EQ(verdict("KVX0109")[QStringLiteral("outcome")].toString(), QStringLiteral("ERROR"));
    EXPECT_FALSE(verdict("KVX0109")[QStringLiteral("error")].toString().isEmpty());
    const QJsonObject failed = verdict("KVX0102");
    EXPECT_EQ(failed[QStringLiteral("outcome")].toString(), QStringLiteral("FAIL"));
    const QJsonObject mean = failed[QStringLiteral("not_passed")][0].toObject();
    EXPECT_EQ(mean[QStringLiteral("name")].toString(), QStringLiteral("ch0.mean_uV"));
    EXPECT_NEAR(mean[QStringLiteral("value")].toDouble(), 1120.0, 2.0);
    EXPECT_EQ(mean[QStringLiteral("unit")].toString(), QStringLiteral("uV"));
    // The same run as the board's record.
    QFile record(QDir(records).filePath(QStringLiteral("KVX0102_%1.json").arg(failed[QStringLiteral("run_id")].toString())));
    EXPECT_TRUE(record.exists()) << record.fileName().toStdString();
}

} // namespace
