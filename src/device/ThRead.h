#pragma once
#include "CommThread.h"

// Moves what the driver has received into the input ring.
class TReadThread : public TCommThread {
public:
    using TCommThread::TCommThread;

protected:
    void Execute() override;

private:
    // Reads while the driver holds data and the ring has room; false when the port failed.
    bool Drain();
};
