#include "CommPort.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "BusTrace.h"
#include "EvRead.h"
#include "EvStatus.h"
#include "SerialPortList.h"
#include "ThRead.h"
#include "ThStatus.h"
#include "ThWrite.h"

namespace {

constexpr int kBaudTable[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                              19200, 38400, 56000, 57600, 115200, 128000, 256000};
constexpr int kBaudCount = static_cast<int>(sizeof kBaudTable / sizeof kBaudTable[0]);
constexpr std::chrono::milliseconds kBreakTick{55};

std::shared_ptr<BusTrace>& DefaultBusTrace() {
    static std::shared_ptr<BusTrace> trace;
    return trace;
}

}  // namespace

// Lives on the component's main thread; a Qt event posted to it runs the
// deliveries waiting there.
class DeliveryContext : public QObject {
public:
    explicit DeliveryContext(TCommPort& port) : port_(port) {}

    bool event(QEvent* event) override {
        // Take the delivery lock before Qt's event is looked at: it was made by
        // a worker before that worker released the same lock.
        port_.ServeEvents();
        return QObject::event(event);
    }

private:
    TCommPort& port_;
};

int BaudRateValue(int rate) {
    return rate >= 0 && rate < kBaudCount ? kBaudTable[rate] : 0;
}

TCommPort::TCommPort(platform::SerialPortList* ports)
    : ports_(ports ? ports : &platform::SerialPortList::System()),
      trace_(DefaultBusTrace()),
      deliveryContext_(std::make_unique<DeliveryContext>(*this)) {}

TCommPort::~TCommPort() {
    ClosePort();
}

void LoadCommPort1Properties(TCommPort& port) {
    port.SetComNumber(1);
    port.SetDTR(true);
    port.SetRTS(true);
    port.SetIBuffSize(4096);
    port.SetOBuffSize(8192);
    port.SetBaudRate(cbr38400);
    port.SetDataBits(8);
    port.SetMonitorEvents(kDefaultMonitorEvents);
    port.SetXoffLim(8);
    port.SetXonChar(17);
    port.SetXoffChar(19);
}

void TCommPort::SetComNumber(int number) {
    ClosePort();
    comNumber_ = number;
}

void TCommPort::SetOpen(bool open) {
    if (open)
        OpenPort();
    else
        ClosePort();
}

void TCommPort::OpenPort() {
    if (open_ || closing_) return;
    inUsed_ = outUsed_ = inHead_ = outHead_ = outInFlight_ = 0;
    outBuffer_.assign(outSize_, 0);
    inBuffer_.assign(inSize_, 0);
    lastError_.store(0);
    int error = 0;
    port_ = ports_->Open(comNumber_, error);
    if (!port_) {
        outBuffer_.clear();
        inBuffer_.clear();
        return;
    }
    if (trace_) port_ = std::make_unique<TracingSerialPort>(std::move(port_), trace_);
    ApplySettings();

    statusThread_ = std::make_unique<TStatusThread>(*this, monitorEvents_.load());
    statusThread_->Start();
    readWake_.Reset();
    readThread_ = std::make_unique<TReadThread>(*this);
    readThread_->Start();
    writeWake_.Reset();
    writeThread_ = std::make_unique<TWriteThread>(*this);
    writeThread_->Start();
    dataReceived_.Reset();
    readEventThread_ = std::make_unique<TReadEventThread>(*this);
    readEventThread_->Start();
    statusChanged_.Reset();
    statusEventThread_ = std::make_unique<TStatusEventThread>(*this);
    statusEventThread_->Start();

    open_ = true;
    SetDTR(dtr_);
    SetRTS(rts_);
    if (OnOpen) OnOpen(this, lastError_.load());
}

void TCommPort::ClosePort() {
    if (!open_ || closing_) return;
    closing_ = true;
    cts_ = dsr_ = dcd_ = ring_ = false;
    platform::SerialPort* port = port_.get();
    StopThread(statusThread_.get(), [port] { port->CancelModemWait(); });
    StopThread(readThread_.get(), [this, port] {
        readWake_.Set();
        port->Interrupt(platform::IoSide::Input);
    });
    StopThread(writeThread_.get(), [this, port] {
        writeWake_.Set();
        port->Interrupt(platform::IoSide::Output);
    });
    StopThread(readEventThread_.get(), [this] { dataReceived_.Set(); });
    StopThread(statusEventThread_.get(), [this] { statusChanged_.Set(); });
    ServeEvents();  // what an event thread handed over before it was asked to end
    statusThread_.reset();
    readThread_.reset();
    writeThread_.reset();
    readEventThread_.reset();
    statusEventThread_.reset();
    // The status thread may have written a line state after the first clear.
    cts_ = dsr_ = dcd_ = ring_ = false;

    port_.reset();
    outBuffer_.clear();
    inBuffer_.clear();
    inUsed_ = outUsed_ = outInFlight_ = 0;
    open_ = false;
    closing_ = false;
    if (OnClose) OnClose(this);
}

void TCommPort::StopThread(TCommThread* thread, const std::function<void()>& wake) {
    thread->Terminate();
    wake();
    std::unique_lock lock(deliveryMutex_);
    while (!thread->Finished()) {
        if (!pending_.empty()) {
            lock.unlock();
            ServeEvents();
            lock.lock();
            continue;
        }
        deliveryChanged_.wait(lock);
    }
    lock.unlock();
    thread->Join();
}

void TCommPort::ServeEvents() {
    for (;;) {
        std::shared_ptr<Delivery> delivery;
        {
            std::lock_guard lock(deliveryMutex_);
            if (pending_.empty()) return;
            delivery = std::move(pending_.front());
            pending_.pop_front();
        }
        delivery->raise();
        std::lock_guard lock(deliveryMutex_);
        delivery->done = true;
        deliveryChanged_.notify_all();
    }
}

void TCommPort::Deliver(const TCommThread& from, std::function<void()> raise) {
    auto delivery = std::make_shared<Delivery>();
    delivery->raise = std::move(raise);
    // Made before the lock is released below, so that the main thread's taking
    // of the lock orders it before Qt's use and deletion of it.
    QEvent* wake = QCoreApplication::instance() ? new QEvent(QEvent::User) : nullptr;
    std::unique_lock lock(deliveryMutex_);
    pending_.push_back(delivery);
    deliveryChanged_.notify_all();
    lock.unlock();
    if (wake) QCoreApplication::postEvent(deliveryContext_.get(), wake);
    lock.lock();
    deliveryChanged_.wait(lock, [&] { return delivery->done || from.Terminated(); });
}

void TCommPort::WakeDeliveryWaiters() {
    std::lock_guard lock(deliveryMutex_);
    deliveryChanged_.notify_all();
}

void TCommPort::ThreadFinished(std::atomic<bool>& finished) {
    std::lock_guard lock(deliveryMutex_);
    finished.store(true);
    deliveryChanged_.notify_all();
}

void TCommPort::RaiseStatusEvents() {
    using namespace platform;
    const std::uint32_t mask = lastEventMask_.load();
    if ((mask & kEventCts) && OnCTSSignal) OnCTSSignal(this);
    if ((mask & kEventRlsd) && OnDCDSignal) OnDCDSignal(this);
    if ((mask & kEventDsr) && OnDSRSignal) OnDSRSignal(this);
    if ((mask & kEventRing) && OnRingSignal) OnRingSignal(this);
    if ((mask & kEventRxChar) && OnRxDSignal) OnRxDSignal(this);
    if ((mask & kEventRxFlag) && OnRxEventSignal) OnRxEventSignal(this);
    if ((mask & kEventTxEmpty) && OnTxDSignal) OnTxDSignal(this);
    if ((mask & kEventBreak) && OnBreakSignal) OnBreakSignal(this);
    if ((mask & kEventError) && OnErrorSignal) OnErrorSignal(this, lastError_.load());
}

bool TCommPort::ReadModemLines() {
    unsigned bits = 0;
    if (!port_ || !port_->GetModemStatus(bits)) return false;
    cts_ = (bits & platform::kModemCts) != 0;
    dsr_ = (bits & platform::kModemDsr) != 0;
    dcd_ = (bits & platform::kModemDcd) != 0;
    ring_ = (bits & platform::kModemRing) != 0;
    return true;
}

platform::SerialLineSettings TCommPort::LineSettings() const {
    platform::SerialLineSettings settings;
    settings.baud = GetBaud();
    settings.dataBits = dataBits_;
    settings.parity = static_cast<platform::Parity>(parity_);
    settings.stopBits = static_cast<platform::StopBits>(stopBits_);
    const TComControl control = control_.load();
    settings.flow = control == ccHard   ? platform::FlowControl::Hardware
                    : control == ccSoft ? platform::FlowControl::Software
                                        : platform::FlowControl::None;
    settings.xonChar = xonChar_;
    settings.xoffChar = xoffChar_;
    return settings;
}

// The driver takes the whole line setting at once; XonLim, XoffLim and
// EventChar have no counterpart in a tty and are kept for what reads them.
void TCommPort::ApplySettings() {
    if (port_ && !port_->Configure(LineSettings())) lastError_.store(EINVAL);
}

int TCommPort::GetBaud() const {
    return BaudRateValue(baudRate_);
}

void TCommPort::SetBaud(int baud) {
    for (int i = 0; i < kBaudCount; ++i)
        if (kBaudTable[i] == baud) SetBaudRate(static_cast<TBaudRate>(i));
}

void TCommPort::SetBaudRate(TBaudRate rate) {
    baudRate_ = rate;
    ApplySettings();
}

void TCommPort::SetComControl(TComControl control) {
    control_.store(control);
    ApplySettings();
}

void TCommPort::SetParity(TParity parity) {
    parity_ = parity;
    ApplySettings();
}

void TCommPort::SetStopBits(TStopBits stopBits) {
    stopBits_ = stopBits;
    ApplySettings();
    BitsWarning();
}

void TCommPort::SetDataBits(unsigned short bits) {
    dataBits_ = bits >= 5 && bits <= 8 ? bits : 8;
    ApplySettings();
    BitsWarning();
}

void TCommPort::SetMonitorEvents(TEventStates events) {
    monitorEvents_.store(events);
}

void TCommPort::SetXonLim(unsigned short limit) {
    xonLim_ = limit;
    ApplySettings();
}

void TCommPort::SetXoffLim(unsigned short limit) {
    xoffLim_ = static_cast<unsigned short>(std::min<unsigned long>({limit, inSize_, 65535ul}));
    ApplySettings();
}

void TCommPort::SetXonChar(unsigned char c) {
    xonChar_ = c;
    ApplySettings();
}

void TCommPort::SetXoffChar(unsigned char c) {
    xoffChar_ = c;
    ApplySettings();
}

void TCommPort::SetEventChar(unsigned char c) {
    eventChar_ = c;
    ApplySettings();
}

void TCommPort::BitsWarning() {
    const char* text = nullptr;
    if (dataBits_ != 5 && stopBits_ == sb1_5) text = "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)";
    if (dataBits_ == 5 && stopBits_ == sb2_0) text = "Invalid combination (5 data bits with 2 stop bits)";
    if (text && WarningBox) WarningBox(text, "COM port warning");
}

// A ring of no bytes would leave nowhere to put anything.
void TCommPort::SetIBuffSize(unsigned long size) {
    const bool wasOpen = open_;
    ClosePort();
    inSize_ = std::max(size, 1ul);
    if (wasOpen) OpenPort();
}

void TCommPort::SetOBuffSize(unsigned long size) {
    const bool wasOpen = open_;
    ClosePort();
    outSize_ = std::max(size, 1ul);
    if (wasOpen) OpenPort();
}

unsigned long TCommPort::GetInBuffUsed() const {
    std::lock_guard lock(inLock_);
    return inUsed_;
}

unsigned long TCommPort::GetInBuffFree() const {
    std::lock_guard lock(inLock_);
    return inSize_ - inUsed_;
}

unsigned long TCommPort::GetOutBuffUsed() const {
    std::lock_guard lock(outLock_);
    return outUsed_;
}

unsigned long TCommPort::GetOutBuffFree() const {
    std::lock_guard lock(outLock_);
    return outSize_ - outUsed_;
}

int TCommPort::GetOutQueCount() const {
    if (!port_) return 0;
    return static_cast<int>(std::max(port_->OutputQueued(), 0l));
}

unsigned long TCommPort::PutBlock(const char* data, unsigned long length) {
    if (!open_ || length == 0) return 0;
    const unsigned long size = outBuffer_.size();
    unsigned long head = 0, used = 0;
    {
        std::lock_guard lock(outLock_);
        head = outHead_;
        used = outUsed_;
    }
    // Bytes that do not fit are dropped.
    const unsigned long count = std::min(length, size - used);
    if (count == 0) return 0;
    const unsigned long write = (head + used) % size;
    const unsigned long first = std::min(count, size - write);
    std::memcpy(outBuffer_.data() + write, data, first);
    std::memcpy(outBuffer_.data(), data + first, count - first);
    {
        std::lock_guard lock(outLock_);
        outUsed_ += count;
    }
    writeWake_.Set();
    return count;
}

unsigned long TCommPort::GetBlock(char* buffer, unsigned long length) {
    if (!open_) return 0;
    const unsigned long size = inBuffer_.size();
    unsigned long head = 0, used = 0;
    {
        std::lock_guard lock(inLock_);
        head = inHead_;
        used = inUsed_;
    }
    const unsigned long count = std::min(length, used);
    if (count == 0) return 0;
    const unsigned long first = std::min(count, size - head);
    std::memcpy(buffer, inBuffer_.data() + head, first);
    std::memcpy(buffer + first, inBuffer_.data(), count - first);
    {
        std::lock_guard lock(inLock_);
        inUsed_ -= count;
        inHead_ = (inHead_ + count) % size;
    }
    readWake_.Set();  // the reader may have stopped on a full ring
    return count;
}

unsigned long TCommPort::PutChar(char c) {
    return PutBlock(&c, 1);
}

long TCommPort::PutString(const char* text) {
    const long length = static_cast<long>(std::strlen(text));
    return length > 0 ? static_cast<long>(PutBlock(text, static_cast<unsigned long>(length))) : length;
}

char TCommPort::GetChar() {
    char c = 0;
    return GetBlock(&c, 1) == 1 ? c : 0;
}

bool TCommPort::CharReady() const {
    return open_ && GetInBuffUsed() > 0;
}

// The reader may be filling the space after the data; moving the head there
// keeps what it adds in order.
void TCommPort::FlushInBuffer() {
    if (port_) port_->Purge(true, false);
    std::lock_guard lock(inLock_);
    if (!inBuffer_.empty()) inHead_ = (inHead_ + inUsed_) % inBuffer_.size();
    inUsed_ = 0;
}

// Bytes the writer is handing to the driver stay; dropping them would let new
// data overwrite what it is still reading.
void TCommPort::FlushOutBuffer() {
    if (port_) port_->Purge(false, true);
    std::lock_guard lock(outLock_);
    writeWake_.Reset();
    outUsed_ = outInFlight_;
}

bool TCommPort::PurgePort() {
    return port_ && port_->Purge(true, true);
}

void TCommPort::SetDTR(bool state) {
    if (!open_) {
        dtr_ = state;
        return;
    }
    if (port_->SetDtr(state)) dtr_ = state;
}

void TCommPort::SetRTS(bool state) {
    if (!open_) {
        rts_ = state;
        return;
    }
    if (port_->SetRts(state)) rts_ = state;
}

bool TCommPort::SetBreak(bool state) {
    return open_ && port_->SetBreak(state);
}

void TCommPort::SendBreak(unsigned short ticks) {
    if (open_) port_->SetBreak(true);
    std::this_thread::sleep_for(kBreakTick * ticks);
    if (open_) port_->SetBreak(false);
}

bool TCommPort::PowerOn() {
    if (port_) port_->SetDtr(true);
    const bool ok = port_ && port_->SetRts(true);
    dtr_ = rts_ = true;
    return ok;
}

bool TCommPort::PowerOff() {
    if (port_) port_->SetDtr(false);
    const bool ok = port_ && port_->SetRts(false);
    dtr_ = rts_ = false;
    return ok;
}

bool TCommPort::GetModemState(int line) {
    unsigned bit = 0;
    switch (line) {
        case 1:
            bit = platform::kModemCts;
            break;
        case 2:
            bit = platform::kModemDsr;
            break;
        case 3:
            bit = platform::kModemRing;
            break;
        case 4:
            bit = platform::kModemDcd;
            break;
        default:
            return false;
    }
    unsigned bits = 0;
    return open_ && port_->GetModemStatus(bits) && (bits & bit);
}

void TCommPort::SetBusTrace(std::shared_ptr<BusTrace> trace) {
    trace_ = std::move(trace);
}

void TCommPort::SetDefaultBusTrace(std::shared_ptr<BusTrace> trace) {
    DefaultBusTrace() = std::move(trace);
}
