#include "CommThread.h"

#include "CommPort.h"

void TWakeEvent::Set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    changed_.notify_all();
}

void TWakeEvent::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

void TWakeEvent::Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
    if (!manualReset_) set_ = false;
}

bool TWakeEvent::WaitFor(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, time, [this] { return set_; })) return false;
    if (!manualReset_) set_ = false;
    return true;
}

TCommThread::~TCommThread() {
    Join();
}

void TCommThread::Start() {
    thread_ = std::thread([this] { Run(); });
}

void TCommThread::Terminate() {
    terminated_.store(true);
    {
        std::lock_guard lock(pauseMutex_);
        pauseEnded_.notify_all();
    }
    Port.WakeDeliveryWaiters();
}

void TCommThread::Join() {
    if (thread_.joinable()) thread_.join();
}

void TCommThread::Pause(std::chrono::milliseconds time) {
    std::unique_lock lock(pauseMutex_);
    pauseEnded_.wait_for(lock, time, [this] { return Terminated(); });
}

void TCommThread::Run() {
    Execute();
    Port.ThreadFinished(finished_);
}
