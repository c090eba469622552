#pragma once
// Waiting on a condition that another thread brings about, with a generous
// limit instead of a sleep that guesses how long it takes.

#include <QCoreApplication>
#include <chrono>
#include <thread>

// Processes the main thread's events meanwhile when asked to.
template <class Condition>
bool WaitUntil(Condition condition, bool processEvents = false,
               std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (processEvents)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
