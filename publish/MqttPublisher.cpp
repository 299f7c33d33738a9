#include "MqttPublisher.h"

#include "PublishTarget.h"

#include <mosquitto.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int KeepAliveSeconds = 10;
constexpr auto CloseWait = std::chrono::seconds(2);
constexpr auto DisconnectWait = std::chrono::seconds(1);
constexpr auto FirstRetry = std::chrono::seconds(1);
constexpr auto LastRetry = std::chrono::seconds(30);
constexpr int LoopWaitMs = 100;

void InitialiseLibrary()
{
    static const int once = mosquitto_lib_init();
    (void)once;
}

} // namespace

MqttPublisher::MqttPublisher(const PublishTarget& target, LiveMessages messages, Role role)
    : messages_(std::move(messages))
    , role_(role)
    , prefix_(target.Prefix.toStdString())
{
    InitialiseLibrary();
    const std::string id = "korvadex-" + messages_.Serial().toStdString() + (role == Role::Test ? "-test" : "");
    client_ = mosquitto_new(id.c_str(), true, this);
    if (client_ == nullptr) {
        problem_ = QStringLiteral("libmosquitto could not make a client");
        return;
    }
    mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (!target.User.isEmpty())
        mosquitto_username_pw_set(client_, target.User.toUtf8().constData(), target.Password.toUtf8().constData());
    if (role == Role::Log) {
        const QByteArray will = messages_.Status(false);
        mosquitto_will_set(client_, Topic("status").c_str(), will.size(), will.constData(), 1, true);
    }
    mosquitto_connect_callback_set(client_, &MqttPublisher::Connected);
    mosquitto_disconnect_callback_set(client_, &MqttPublisher::Disconnected);
    mosquitto_publish_callback_set(client_, &MqttPublisher::Delivered);
    mosquitto_threaded_set(client_, true);
    if (role == Role::Log)
        Queue({Topic("status"), messages_.Status(true), true, false});
    // A broker that is down now is tried again by the network thread.
    const int connecting = mosquitto_connect_async(client_, target.Host.toUtf8().constData(), target.Port, KeepAliveSeconds);
    if (connecting != MOSQ_ERR_SUCCESS)
        problem_ = QStringLiteral("%1:%2 cannot be reached (%3)")
                       .arg(target.Host)
                       .arg(target.Port)
                       .arg(QString::fromUtf8(mosquitto_strerror(connecting)));
    network_ = std::thread([this] { RunNetwork(); });
}

void MqttPublisher::RunNetwork()
{
    auto delay = FirstRetry;
    std::unique_lock<std::mutex> lock(loopMutex_);
    while (!stopping_) {
        lock.unlock();
        const int result = mosquitto_loop(client_, LoopWaitMs, 1);
        lock.lock();
        if (result == MOSQ_ERR_SUCCESS || stopping_)
            continue;
        if (reached_)
            delay = FirstRetry;
        reached_ = false;
        if (loopWake_.wait_for(lock, delay, [this] { return stopping_; }))
            break;
        delay = std::min(delay * 2, LastRetry);
        lock.unlock();
        mosquitto_reconnect_async(client_);
        lock.lock();
    }
}

void MqttPublisher::StopNetwork()
{
    {
        const std::lock_guard<std::mutex> lock(loopMutex_);
        stopping_ = true;
    }
    loopWake_.notify_all();
    if (network_.joinable())
        network_.join();
}

MqttPublisher::~MqttPublisher()
{
    Close();
    if (client_ != nullptr)
        mosquitto_destroy(client_);
}

std::string MqttPublisher::Topic(const char* kind) const
{
    return prefix_ + "/" + messages_.Serial().toStdString() + "/" + kind;
}

void MqttPublisher::Summary(const SecondSummary& second, int reconnects)
{
    Queue({Topic("summary"), messages_.Summary(second, reconnects)});
}

void MqttPublisher::Event(const LogEvent& event)
{
    Queue({Topic("event"), messages_.Event(event)});
}

void MqttPublisher::TestOutcome(const QByteArray& message)
{
    Queue({Topic("test"), message, true});
}

void MqttPublisher::Queue(Message message)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (closed_ || client_ == nullptr) {
        dropped_ += message.Counted ? 1 : 0;
        return;
    }
    waiting_.push_back(std::move(message));
    // The oldest summary or event goes; a status is never dropped, nor
    // counted in the bound.
    const auto counted = std::count_if(waiting_.begin(), waiting_.end(), [](const Message& m) { return m.Counted; });
    if (static_cast<std::size_t>(counted) > WaitingBound) {
        const auto oldest = std::find_if(waiting_.begin(), waiting_.end(), [](const Message& m) { return m.Counted; });
        if (oldest != waiting_.end()) {
            waiting_.erase(oldest);
            ++dropped_;
        }
    }
    SendWaiting();
}

void MqttPublisher::SendWaiting()
{
    while (connected_ && !waiting_.empty() && inFlight_.size() + uncountedInFlight_.size() < InFlightBound) {
        const Message& message = waiting_.front();
        int id = 0;
        if (mosquitto_publish(client_, &id, message.Topic.c_str(), message.Payload.size(), message.Payload.constData(), 1,
                              message.Retained)
            != MOSQ_ERR_SUCCESS)
            return;  // the connection went: the message waits for the next one
        (message.Counted ? inFlight_ : uncountedInFlight_).insert(id);
        waiting_.pop_front();
    }
}

void MqttPublisher::Connected(mosquitto*, void* self, int result)
{
    auto* publisher = static_cast<MqttPublisher*>(self);
    const std::lock_guard<std::mutex> lock(publisher->mutex_);
    if (result != 0) {
        publisher->problem_ = QStringLiteral("the broker refused the connection: %1")
                                  .arg(QString::fromUtf8(mosquitto_connack_string(result)));
        return;
    }
    publisher->connected_ = true;
    publisher->SendWaiting();
    {
        const std::lock_guard<std::mutex> loop(publisher->loopMutex_);
        publisher->reached_ = true;
    }
}

void MqttPublisher::Disconnected(mosquitto*, void* self, int result)
{
    auto* publisher = static_cast<MqttPublisher*>(self);
    const std::lock_guard<std::mutex> lock(publisher->mutex_);
    publisher->connected_ = false;
    if (result != 0 && publisher->problem_.isEmpty())
        publisher->problem_ = QStringLiteral("the broker went away");
}

void MqttPublisher::Delivered(mosquitto*, void* self, int id)
{
    auto* publisher = static_cast<MqttPublisher*>(self);
    const std::lock_guard<std::mutex> lock(publisher->mutex_);
    publisher->inFlight_.erase(id);
    publisher->uncountedInFlight_.erase(id);
    publisher->SendWaiting();
}

std::int64_t MqttPublisher::Undelivered() const
{
    std::int64_t count = dropped_ + static_cast<std::int64_t>(inFlight_.size());
    for (const Message& message : waiting_)
        count += message.Counted ? 1 : 0;
    return count;
}

std::int64_t MqttPublisher::Close()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (closed_ || client_ == nullptr)
            return Undelivered();
    }
    if (role_ == Role::Log)
        Queue({Topic("status"), messages_.Status(false), true, false});
    const auto end = std::chrono::steady_clock::now() + CloseWait;
    for (;;) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            const bool sent = waiting_.empty() && inFlight_.empty() && uncountedInFlight_.empty();
            // A log's broker that is away is not waited for; a test's verdict
            // may be ready before its connection is.
            const bool away = !connected_ && role_ == Role::Log;
            if (sent || away || std::chrono::steady_clock::now() >= end) {
                closed_ = true;
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The network thread sends the DISCONNECT and sees the connection end:
    // a connection that merely dropped would have the broker say the last
    // will ("offline" once more).
    mosquitto_disconnect(client_);
    const auto gone = std::chrono::steady_clock::now() + DisconnectWait;
    for (;;) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!connected_ || std::chrono::steady_clock::now() >= gone)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    StopNetwork();
    const std::lock_guard<std::mutex> lock(mutex_);
    return Undelivered();
}

QString MqttPublisher::Problem() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return problem_;
}
