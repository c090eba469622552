#pragma once
#include "CommPort.h"
#include "CommThread.h"

// Follows the modem-status lines: waits for comm events and keeps CTS, DSR,
// DCD and Ring of its port.
class TStatusThread : public TCommThread {
public:
    TStatusThread(TCommPort& port, TEventStates events) : TCommThread(port), events_(events) {}

protected:
    void Execute() override;

private:
    const TEventStates events_;
};
