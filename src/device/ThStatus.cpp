#include "ThStatus.h"

namespace {

constexpr unsigned kLineEvents =
    platform::kEventCts | platform::kEventDsr | platform::kEventRlsd | platform::kEventError | platform::kEventRing;
// A port that fails its waits (a device pulled out) is asked again this often.
constexpr std::chrono::milliseconds kRetryPause{20};

}  // namespace

void TStatusThread::Execute() {
    if (Port.ReadModemLines()) Port.lastEventMask_.store(0);
    while (!Terminated()) {
        unsigned events = 0;
        if (!Port.port_->WaitModemEvent(events_, events)) {
            Pause(kRetryPause);
            continue;
        }
        Port.lastEventMask_.store(events);
        if ((events & kLineEvents) && Port.ReadModemLines() && Port.Control() == ccHard && Port.CTS()) {
            // Under the lock, so that a writer that has just reset the event sees it set again.
            std::lock_guard lock(Port.outLock_);
            if (Port.outUsed_ > 0) Port.writeWake_.Set();
        }
        if (events & platform::kEventRxChar) Port.readWake_.Set();
        Port.statusChanged_.Set();
    }
}
