#pragma once
#include "CommThread.h"

// Raises the line and error events of the last comm event on the main thread.
class TStatusEventThread : public TCommThread {
public:
    using TCommThread::TCommThread;

protected:
    void Execute() override;
};
