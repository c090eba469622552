#include "EvRead.h"

#include "CommPort.h"

void TReadEventThread::Execute() {
    while (!Terminated()) {
        Port.dataReceived_.Wait();
        if (Terminated()) break;
        TCommPort* port = &Port;
        Port.Deliver(*this, [port] {
            if (port->OnDataReceived) port->OnDataReceived(port, port->GetInBuffUsed());
        });
    }
}
