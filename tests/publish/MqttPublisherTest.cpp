#include "MqttPublisher.h"

#include "Broker.h"
#include "PublishTarget.h"

#include <gtest/gtest.h>

#include <set>

namespace {

LogHead BoardHead()
{
    LogHead head;
    head.Settings.spsSel = 16;
    head.BoardSerial = "KVX0007";
    head.SettingsText = "125ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1";
    return head;
}

// A broker down from the start: the publisher keeps the newest ten minutes
// of summaries, drops the oldest and counts them, and once the broker comes
// up delivers what it kept, in order.
TEST(MqttPublisher, KeepsTheNewestSummariesWhileTheBrokerIsDown)
{
    Broker broker;
    PublishTarget target;
    target.Host = QStringLiteral("127.0.0.1");
    target.Port = broker.Port();
    target.Prefix = QStringLiteral("bench");
    MqttPublisher publisher(target, LiveMessages(BoardHead(), QStringLiteral("week.h5")), MqttPublisher::Role::Log);
    const std::int64_t made = MqttPublisher::WaitingBound + 100;
    for (std::int64_t i = 1; i <= made; ++i) {
        SecondSummary second;
        second.Samples = i;  // its number, to find it by
        publisher.Summary(second, 0);
    }
    ASSERT_TRUE(broker.Start());
    Listener listener(broker, QStringLiteral("bench"));
    ASSERT_TRUE(listener.WaitFor(QStringLiteral("status"), QStringLiteral("state"), QStringLiteral("online"), 10000));
    std::int64_t last = 0;
    for (int waited = 0; waited < 100 && last < made; ++waited) {
        for (const Heard& heard : listener.Messages()) {
            if (heard.Topic == QStringLiteral("bench/KVX0007/summary"))
                last = heard.Message.value(QStringLiteral("samples")).toInteger();
        }
        listener.WaitFor(QStringLiteral("none"), QString(), QString(), 100);
    }
    EXPECT_EQ(last, made);
    std::int64_t previous = 0;
    for (const Heard& heard : listener.Messages()) {
        if (heard.Topic != QStringLiteral("bench/KVX0007/summary"))
            continue;
        const std::int64_t number = heard.Message.value(QStringLiteral("samples")).toInteger();
        EXPECT_GT(number, 100) << "an oldest summary was kept";
        EXPECT_GT(number, previous) << "out of order";
        previous = number;
    }
    EXPECT_EQ(publisher.Close(), 100);
}

} // namespace
