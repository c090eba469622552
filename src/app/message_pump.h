#pragma once
// Long loops of the core ask for the user interface to be served once per row;
// running the event loop a million times costs far more than the rows
// themselves, so the pump lets it run at most once per interval.

#include <cstdint>

class MessagePump {
public:
    explicit MessagePump(int64_t intervalMs = 25) : intervalMs_(intervalMs) {}

    // True when the loop should run now; the first call always runs it.
    bool Due(int64_t nowMs) {
        if (ran_ && nowMs - lastMs_ < intervalMs_) return false;
        ran_ = true;
        lastMs_ = nowMs;
        return true;
    }

private:
    int64_t intervalMs_;
    int64_t lastMs_ = 0;
    bool ran_ = false;
};
