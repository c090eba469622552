#pragma once
// The serial port component: owns one port of the port list while open,
// applies its line settings, keeps the states of the modem-status lines,
// drives DTR and RTS, and moves data through two rings served by five
// worker threads (status, reader, writer, read-event, status-event).
//
// Threads. Everything but the workers runs on the thread that created the
// component, its main thread. CTS, DSR, DCD and Ring are the states last seen
// by the status thread and may be read at any time, also while the main
// thread busy-waits without processing events. Events are raised on the main
// thread only: the event threads hand each one over and wait until it has
// run. The hand-over is served by the QtCore event loop when there is one,
// by ServeEvents, and by ClosePort, which keeps serving while it waits for
// the threads to end, so a pending delivery never blocks a close.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CommThread.h"
#include "SerialPort.h"

namespace platform {
class SerialPortList;
}
class BusTrace;
class QObject;
class TStatusThread;
class TReadThread;
class TWriteThread;
class TReadEventThread;
class TStatusEventThread;

enum TBaudRate {
    cbr110,
    cbr300,
    cbr600,
    cbr1200,
    cbr2400,
    cbr4800,
    cbr9600,
    cbr14400,
    cbr19200,
    cbr38400,
    cbr56000,
    cbr57600,
    cbr115200,
    cbr128000,
    cbr256000
};
enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits { sb1_0, sb1_5, sb2_0 };
enum TComControl { ccNone, ccSoft, ccHard };
enum TEventState { evRxChar, evRxEventChar, evTxEmpty, evCTS, evDSR, evRlsd, evBreak, evError, evRing };

// A set of TEventState: element n is bit n, which is also its comm event mask.
using TEventStates = unsigned;
constexpr TEventStates EventStates(std::initializer_list<TEventState> states) {
    TEventStates set = 0;
    for (TEventState state : states) set |= 1u << state;
    return set;
}
inline constexpr TEventStates kDefaultMonitorEvents =
    EventStates({evRxChar, evTxEmpty, evCTS, evDSR, evRlsd, evBreak, evError, evRing});

// Bits per second of a rate; 0 for a value outside the table.
int BaudRateValue(int rate);

class TCommPort {
public:
    using TNotifyEvent = std::function<void(TCommPort* sender)>;
    using TErrorEvent = std::function<void(TCommPort* sender, int error)>;
    using TDataEvent = std::function<void(TCommPort* sender, unsigned long count)>;

    // Ports are opened from `ports`; the system's list when none is given.
    explicit TCommPort(platform::SerialPortList* ports = nullptr);
    ~TCommPort();
    TCommPort(const TCommPort&) = delete;
    TCommPort& operator=(const TCommPort&) = delete;

    int ComNumber() const { return comNumber_; }
    void SetComNumber(int number);  // closes the port first, does not reopen
    bool Open() const { return open_; }
    void SetOpen(bool open);
    bool DTR() const { return dtr_; }
    void SetDTR(bool state);
    bool RTS() const { return rts_; }
    void SetRTS(bool state);
    bool CTS() const { return cts_.load(); }
    bool DSR() const { return dsr_.load(); }
    bool DCD() const { return dcd_.load(); }
    bool Ring() const { return ring_.load(); }

    unsigned long InSize() const { return inSize_; }
    void SetIBuffSize(unsigned long size);  // closes, sets, reopens if it was open
    unsigned long OutSize() const { return outSize_; }
    void SetOBuffSize(unsigned long size);
    unsigned long GetInBuffUsed() const;
    unsigned long GetInBuffFree() const;
    unsigned long GetOutBuffUsed() const;
    unsigned long GetOutBuffFree() const;
    int GetOutQueCount() const;

    int GetBaud() const;
    void SetBaud(int baud);  // a rate outside the table is ignored
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate rate);
    TComControl Control() const { return control_.load(); }
    void SetComControl(TComControl control);
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits stopBits);
    unsigned short DataBits() const { return dataBits_; }
    void SetDataBits(unsigned short bits);  // 5..8; anything else is taken as 8
    TEventStates MonitorEvents() const { return monitorEvents_.load(); }
    void SetMonitorEvents(TEventStates events);  // takes effect at the next open
    unsigned short XonLim() const { return xonLim_; }
    void SetXonLim(unsigned short limit);
    unsigned short XoffLim() const { return xoffLim_; }
    void SetXoffLim(unsigned short limit);  // clamped to InSize
    unsigned char XonChar() const { return xonChar_; }
    void SetXonChar(unsigned char c);
    unsigned char XoffChar() const { return xoffChar_; }
    void SetXoffChar(unsigned char c);
    unsigned char EventChar() const { return eventChar_; }
    void SetEventChar(unsigned char c);

    TNotifyEvent OnCTSSignal, OnDCDSignal, OnDSRSignal, OnRxDSignal, OnTxDSignal, OnRingSignal, OnBreakSignal,
        OnRxEventSignal, OnClose;
    TErrorEvent OnErrorSignal, OnOpen;
    TDataEvent OnDataReceived;
    // Shows BitsWarning's message box (text, caption); nothing when unassigned.
    std::function<void(const std::string& text, const std::string& caption)> WarningBox;

    // A port that cannot be opened leaves the component closed and silent.
    void OpenPort();
    void ClosePort();
    bool IsEnabled() const { return port_ != nullptr; }
    void BitsWarning();

    unsigned long PutBlock(const char* data, unsigned long length);
    unsigned long GetBlock(char* buffer, unsigned long length);
    unsigned long PutChar(char c);
    long PutString(const char* text);
    char GetChar();
    bool CharReady() const;
    void FlushInBuffer();
    void FlushOutBuffer();
    // Aborts and clears both directions of the driver; false when closed.
    bool PurgePort();

    bool SetBreak(bool state);
    void SendBreak(unsigned short ticks);
    bool PowerOn();
    bool PowerOff();
    // 1 CTS, 2 DSR, 3 ring, 4 DCD, read from the driver now.
    bool GetModemState(int line);

    // Records the bus of every later open into the trace; nullptr stops it.
    void SetBusTrace(std::shared_ptr<BusTrace> trace);
    // The trace that components made from now on start with (main thread only).
    static void SetDefaultBusTrace(std::shared_ptr<BusTrace> trace);

    // Runs the event deliveries that wait for the main thread.
    void ServeEvents();

private:
    friend class TCommThread;
    friend class TStatusThread;
    friend class TReadThread;
    friend class TWriteThread;
    friend class TReadEventThread;
    friend class TStatusEventThread;

    struct Delivery {
        std::function<void()> raise;
        bool done = false;  // under deliveryMutex_
    };

    platform::SerialLineSettings LineSettings() const;
    void ApplySettings();
    // Asks the thread to end, wakes it, and serves deliveries until it has.
    void StopThread(TCommThread* thread, const std::function<void()>& wake);

    // For the threads.
    bool ReadModemLines();
    // Raises `raise` on the main thread; returns when it has run or `from` is asked to end.
    void Deliver(const TCommThread& from, std::function<void()> raise);
    void WakeDeliveryWaiters();
    void ThreadFinished(std::atomic<bool>& finished);
    void RaiseStatusEvents();

    platform::SerialPortList* ports_;
    std::unique_ptr<platform::SerialPort> port_;  // the handle; null when closed
    std::shared_ptr<BusTrace> trace_;

    int comNumber_ = 2;
    unsigned long inSize_ = 2048;
    unsigned long outSize_ = 4096;
    TBaudRate baudRate_ = cbr9600;
    std::atomic<TComControl> control_{ccNone};
    TParity parity_ = paNone;
    TStopBits stopBits_ = sb1_0;
    unsigned short dataBits_ = 8;
    std::atomic<TEventStates> monitorEvents_{kDefaultMonitorEvents};
    unsigned short xonLim_ = 0;
    unsigned short xoffLim_ = 1024;
    unsigned char xonChar_ = 17;
    unsigned char xoffChar_ = 19;
    unsigned char eventChar_ = 0;

    std::unique_ptr<TStatusThread> statusThread_;
    std::unique_ptr<TReadThread> readThread_;
    std::unique_ptr<TWriteThread> writeThread_;
    std::unique_ptr<TReadEventThread> readEventThread_;
    std::unique_ptr<TStatusEventThread> statusEventThread_;

    bool dtr_ = false;
    bool rts_ = false;
    // Written by the status thread, read by anyone.
    std::atomic<bool> cts_{false}, dsr_{false}, dcd_{false}, ring_{false};
    std::atomic<std::uint32_t> lastEventMask_{0};
    std::atomic<int> lastError_{0};

    TWakeEvent readWake_{false};
    TWakeEvent writeWake_{true};  // stays set while the output ring holds data
    TWakeEvent dataReceived_{false};
    TWakeEvent statusChanged_{false};

    bool open_ = false;
    bool closing_ = false;

    // Output ring: head = oldest byte; inFlight = bytes from the head the
    // writer is handing to the driver (a flush keeps them). Under outLock_.
    std::vector<char> outBuffer_;
    unsigned long outHead_ = 0, outUsed_ = 0, outInFlight_ = 0;
    // Input ring, under inLock_.
    std::vector<char> inBuffer_;
    unsigned long inHead_ = 0, inUsed_ = 0;
    mutable std::mutex outLock_;
    mutable std::mutex inLock_;

    std::mutex deliveryMutex_;
    std::condition_variable deliveryChanged_;  // a delivery queued or done, a thread asked to end or ended
    std::deque<std::shared_ptr<Delivery>> pending_;
    std::unique_ptr<QObject> deliveryContext_;  // lives on the main thread; Qt events to it serve deliveries
};

// The values the device dialog's CommPort1 is stored with: port 1, 38400 baud,
// DTR and RTS high, rings of 4096 and 8192 bytes, XoffLim 8.
void LoadCommPort1Properties(TCommPort& port);
