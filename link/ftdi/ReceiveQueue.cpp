#include "ReceiveQueue.h"

#include "UsbPort.h"

#include <algorithm>
#include <cstring>

ReceiveQueue::ReceiveQueue(UsbPort& port, std::size_t capacity, HeldUpReader heldUp)
    : port_(port)
    , heldUp_(heldUp)
    , ring_(std::max<std::size_t>(capacity, 1))
    , staged_(MaxReadChunk)
    , reader_([this] { ReadUntilStopped(); })
{
}

ReceiveQueue::~ReceiveQueue()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    readerWake_.notify_all();
    reader_.join();
}

void ReceiveQueue::SetReadChunk(std::size_t bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    readChunk_ = std::clamp<std::size_t>(bytes, 1, MaxReadChunk);
}

std::size_t ReceiveQueue::Queued() const
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (count_ == 0 && !failed_ && std::chrono::steady_clock::now() - lastRead_ > heldUp_.After) {
        const std::uint64_t reads = reads_;
        readDone_.wait_for(lock, heldUp_.Wait, [&] { return reads_ != reads || failed_ || stopRequested_; });
    }
    return count_;
}

std::size_t ReceiveQueue::Take(unsigned char* dest, std::size_t max)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t taken = std::min(max, count_);
    if (taken == 0)
        return 0;
    const std::size_t first = std::min(taken, ring_.size() - head_);
    std::memcpy(dest, ring_.data() + head_, first);
    std::memcpy(dest + first, ring_.data(), taken - first);
    head_ = (head_ + taken) % ring_.size();
    count_ -= taken;
    readerWake_.notify_one();
    return taken;
}

bool ReceiveQueue::Purge()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (failed_)
        return false;
    // The reader does the purge between two USB reads, so no byte read before
    // this call can reach the ring after it.
    purgeRequested_ = true;
    readerWake_.notify_one();
    purgeServed_.wait(lock, [this] { return !purgeRequested_ || failed_; });
    return !failed_;
}

bool ReceiveQueue::Failed() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

void ReceiveQueue::ReadUntilStopped()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopRequested_ && !failed_) {
        if (purgeRequested_) {
            ServePurge(lock);
            continue;
        }
        const std::size_t chunk = readChunk_;
        lock.unlock();
        const int got = port_.Read(staged_.data(), static_cast<int>(chunk));
        lock.lock();
        if (got < 0)
            FailLocked();
        else
            StoreStaged(lock, static_cast<std::size_t>(got));
        lastRead_ = std::chrono::steady_clock::now();
        ++reads_;
        readDone_.notify_all();
    }
}

void ReceiveQueue::StoreStaged(std::unique_lock<std::mutex>& lock, std::size_t count)
{
    std::size_t stored = 0;
    while (stored < count) {
        readerWake_.wait(lock, [this] { return stopRequested_ || purgeRequested_ || count_ < ring_.size(); });
        // A purge wanted now also covers these bytes: they arrived before it.
        if (stopRequested_ || purgeRequested_)
            return;
        stored += PutLocked(staged_.data() + stored, count - stored);
    }
}

void ReceiveQueue::ServePurge(std::unique_lock<std::mutex>& lock)
{
    head_ = 0;
    count_ = 0;
    lock.unlock();
    const bool discarded = port_.DiscardReceived();
    lock.lock();
    purgeRequested_ = false;
    if (!discarded)
        FailLocked();
    purgeServed_.notify_all();
}

void ReceiveQueue::FailLocked()
{
    failed_ = true;
    purgeServed_.notify_all();
    readDone_.notify_all();
}

std::size_t ReceiveQueue::PutLocked(const unsigned char* source, std::size_t count)
{
    const std::size_t put = std::min(count, ring_.size() - count_);
    const std::size_t tail = (head_ + count_) % ring_.size();
    const std::size_t first = std::min(put, ring_.size() - tail);
    std::memcpy(ring_.data() + tail, source, first);
    std::memcpy(ring_.data(), source + first, put - first);
    count_ += put;
    return put;
}
