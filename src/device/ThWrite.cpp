#include "ThWrite.h"

#include <algorithm>

#include "CommPort.h"

namespace {

constexpr int kRetryWaitMs = 50;

}  // namespace

void TWriteThread::Execute() {
    while (!Terminated()) {
        Port.writeWake_.Wait();
        if (Terminated()) break;
        {
            // Reset under the lock: PutBlock adds under it before setting the event again.
            std::lock_guard lock(Port.outLock_);
            if (Port.outUsed_ == 0 || (Port.Control() == ccHard && !Port.CTS())) {
                Port.writeWake_.Reset();
                continue;
            }
        }
        WriteRing();
    }
}

void TWriteThread::WriteRing() {
    const unsigned long size = Port.outBuffer_.size();
    while (!Terminated()) {
        unsigned long head = 0, chunk = 0;
        {
            std::lock_guard lock(Port.outLock_);
            if (Port.outUsed_ == 0) return;
            head = Port.outHead_;
            chunk = std::min(Port.outUsed_, size - head);
            Port.outInFlight_ = chunk;
        }
        const long written = Port.port_->Write(Port.outBuffer_.data() + head, chunk);
        if (written <= 0) {
            // Driver queue full or a failure: wait for room and try again.
            Port.port_->WaitReady(platform::IoSide::Output, kRetryWaitMs);
            continue;
        }
        std::lock_guard lock(Port.outLock_);
        const auto moved = static_cast<unsigned long>(written);
        Port.outUsed_ -= moved;
        Port.outHead_ = (Port.outHead_ + moved) % size;
        Port.outInFlight_ = 0;
    }
}
