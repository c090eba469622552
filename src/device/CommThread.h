#pragma once
// What the worker threads of a port component share: a wake event in the
// manner of the system's events (manual or automatic reset) and a thread that
// runs until asked to end.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class TWakeEvent {
public:
    explicit TWakeEvent(bool manualReset) : manualReset_(manualReset) {}

    void Set();
    void Reset();
    // An automatic-reset event is reset by the wait that it ends.
    void Wait();
    // False when the time ran out.
    bool WaitFor(std::chrono::milliseconds time);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
    const bool manualReset_;
};

class TCommPort;

class TCommThread {
public:
    explicit TCommThread(TCommPort& port) : Port(port) {}
    // Joins; the owner has asked the thread to end and woken it first.
    virtual ~TCommThread();
    TCommThread(const TCommThread&) = delete;
    TCommThread& operator=(const TCommThread&) = delete;

    void Start();
    // Asks the thread to end; the owner then wakes it from whatever it waits on.
    void Terminate();
    bool Terminated() const { return terminated_.load(); }
    // Set under the port's delivery lock as Execute returns.
    bool Finished() const { return finished_.load(); }
    void Join();

protected:
    virtual void Execute() = 0;
    // Sleeps up to `time`, less when asked to end.
    void Pause(std::chrono::milliseconds time);

    TCommPort& Port;

private:
    void Run();

    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::mutex pauseMutex_;
    std::condition_variable pauseEnded_;
};
