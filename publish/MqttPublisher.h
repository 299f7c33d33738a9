#pragma once

#include "LiveMessages.h"
#include "Publisher.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>

struct mosquitto;
struct PublishTarget;

// A log's live figures on an MQTT broker, through libmosquitto: summaries
// on PREFIX/SERIAL/summary, events on PREFIX/SERIAL/event, and the retained
// status on PREFIX/SERIAL/status ("online" at the start, "offline" at the
// end, "offline" also as the last will, so that a killed log still says
// it). QoS 1, client id "korvadex-SERIAL". A board test's publisher says
// no status: it sends the board's verdict, retained, on PREFIX/SERIAL/test,
// as client "korvadex-SERIAL-test".
//
// The broker is never the log's master: a message is handed over and the
// call returns; a thread of the publisher's own runs libmosquitto's network
// loop, connects, reconnects with back-off (1 s doubling to 30 s, from the
// first try on: libmosquitto's own loop gives up on a broker that was down
// at the start) and sends. While the broker is away messages wait,
// up to ten minutes of summaries; beyond that the oldest go, counted.
class MqttPublisher : public Publisher {
public:
    // Ten minutes of summaries (and events), besides the status.
    static constexpr std::size_t WaitingBound = 600;
    // Handed to libmosquitto at once, unacknowledged; the rest wait here.
    static constexpr std::size_t InFlightBound = 20;

    enum class Role { Log, Test };

    MqttPublisher(const PublishTarget& target, LiveMessages messages, Role role);
    ~MqttPublisher() override;

    void Summary(const SecondSummary& second, int reconnects) override;
    void Event(const LogEvent& event) override;
    void TestOutcome(const QByteArray& message) override;
    // A log's says "offline", waits up to two seconds for what is on its way, and
    // disconnects.
    std::int64_t Close() override;
    QString Problem() const override;

private:
    struct Message {
        std::string Topic;
        QByteArray Payload;
        bool Retained = false;
        bool Counted = true;  // as undelivered; a status is not
    };

    void Queue(Message message);
    void SendWaiting();  // with mutex_ held
    std::int64_t Undelivered() const;  // with mutex_ held
    std::string Topic(const char* kind) const;

    void RunNetwork();
    void StopNetwork();

    static void Connected(mosquitto* client, void* self, int result);
    static void Disconnected(mosquitto* client, void* self, int result);
    static void Delivered(mosquitto* client, void* self, int id);

    LiveMessages messages_;
    Role role_;
    std::string prefix_;
    mosquitto* client_ = nullptr;
    mutable std::mutex mutex_;
    std::deque<Message> waiting_;
    std::set<int> inFlight_;  // ids of counted messages sent, not yet acknowledged
    std::set<int> uncountedInFlight_;
    bool connected_ = false;
    bool closed_ = false;
    std::int64_t dropped_ = 0;
    QString problem_;
    // The network thread's own: its stop, and the wait between tries.
    std::mutex loopMutex_;
    std::condition_variable loopWake_;
    bool stopping_ = false;
    bool reached_ = false;  // connected since the last wait: the back-off starts afresh
    std::thread network_;
};
