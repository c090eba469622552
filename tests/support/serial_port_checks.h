#pragma once
// Checks every serial port implementation must pass.

#include <gtest/gtest.h>

#include <future>

#include "SerialPort.h"

// A pending status wait ends when cancelled, and every later one at once.
inline void ExpectModemWaitCancelled(platform::SerialPort& port) {
    auto waiting = std::async(std::launch::async, [&] {
        unsigned events = 0;
        return port.WaitModemEvent(platform::kModemEvents, events);
    });
    port.CancelModemWait();
    EXPECT_FALSE(waiting.get());
    unsigned events = 0;
    EXPECT_FALSE(port.WaitModemEvent(platform::kModemEvents, events));
}
