#pragma once
#include "CommThread.h"

// Hands the output ring to the driver.
class TWriteThread : public TCommThread {
public:
    using TCommThread::TCommThread;

protected:
    void Execute() override;

private:
    void WriteRing();
};
