#include "ThRead.h"

#include <algorithm>

#include "CommPort.h"

namespace {

constexpr std::chrono::milliseconds kRetryPause{100};

}  // namespace

void TReadThread::Execute() {
    while (!Terminated()) {
        bool full = false;
        {
            std::lock_guard lock(Port.inLock_);
            full = Port.inUsed_ == Port.inBuffer_.size();
        }
        if (full) {
            Port.readWake_.Wait();  // GetBlock makes room and sets it
            continue;
        }
        const int ready = Port.port_->WaitReady(platform::IoSide::Input, -1);
        if (Terminated()) break;
        if (ready < 0 || !Drain()) Port.readWake_.WaitFor(kRetryPause);
    }
}

bool TReadThread::Drain() {
    const unsigned long size = Port.inBuffer_.size();
    while (!Terminated()) {
        const long queued = Port.port_->InputQueued();
        if (queued < 0) return false;
        unsigned long head = 0, used = 0;
        {
            std::lock_guard lock(Port.inLock_);
            head = Port.inHead_;
            used = Port.inUsed_;
        }
        // Free space that is contiguous from the write position.
        const unsigned long write = (head + used) % size;
        const unsigned long room = used == size ? 0 : (write < head ? head - write : size - write);
        const unsigned long count = std::min<unsigned long>(room, static_cast<unsigned long>(queued));
        if (count == 0) return true;
        const long got = Port.port_->Read(Port.inBuffer_.data() + write, count);
        if (got < 0) return false;
        if (got == 0) return true;
        {
            std::lock_guard lock(Port.inLock_);
            Port.inUsed_ += static_cast<unsigned long>(got);
        }
        Port.dataReceived_.Set();
        if (Port.monitorEvents_ & EventStates({evRxChar})) {
            Port.lastEventMask_.fetch_or(platform::kEventRxChar);
            Port.statusChanged_.Set();
        }
    }
    return true;
}
