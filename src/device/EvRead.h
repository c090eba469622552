#pragma once
#include "CommThread.h"

// Raises OnDataReceived on the main thread when data has come in.
class TReadEventThread : public TCommThread {
public:
    using TCommThread::TCommThread;

protected:
    void Execute() override;
};
