#include "EvStatus.h"

#include "CommPort.h"

void TStatusEventThread::Execute() {
    while (!Terminated()) {
        Port.statusChanged_.Wait();
        if (Terminated()) break;
        TCommPort* port = &Port;
        Port.Deliver(*this, [port] { port->RaiseStatusEvents(); });
    }
}
