#include "BusTrace.h"

#include <algorithm>

namespace {

constexpr char kWireId[2] = {'!', '"'};  // scl, sda

}  // namespace

BusTrace::BusTrace(const std::string& path, Clock clock)
    : out_(path, std::ios::binary | std::ios::trunc),
      clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })),
      start_(clock_()) {
    out_ << "$version vestorin bus trace $end\n"
            "$timescale 1 us $end\n"
            "$scope module bus $end\n"
            "$var wire 1 ! scl $end\n"
            "$var wire 1 \" sda $end\n"
            "$upscope $end\n"
            "$enddefinitions $end\n"
            "#0\n"
            "$dumpvars\n0!\n0\"\n$end\n";
}

BusTrace::~BusTrace() {
    std::lock_guard lock(mutex_);
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(clock_() - start_).count();
    out_ << '#' << std::max<std::int64_t>(now, last_ + 1) << '\n';
    out_.flush();
}

bool BusTrace::Ok() const {
    std::lock_guard lock(mutex_);
    return static_cast<bool>(out_);
}

void BusTrace::Scl(bool high) {
    Change(0, high);
}

void BusTrace::Sda(bool high) {
    Change(1, high);
}

void BusTrace::Change(int wire, bool high) {
    std::lock_guard lock(mutex_);
    if (values_[wire] == high) return;
    values_[wire] = high;
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(clock_() - start_).count();
    last_ = std::max<std::int64_t>(now, last_ + 1);
    out_ << '#' << last_ << '\n' << (high ? '1' : '0') << kWireId[wire] << '\n';
}

TracingSerialPort::TracingSerialPort(std::unique_ptr<platform::SerialPort> inner, std::shared_ptr<BusTrace> trace)
    : inner_(std::move(inner)), trace_(std::move(trace)) {
    std::lock_guard lock(mutex_);
    bool dtr = false, rts = false;
    if (inner_->GetControlLines(dtr, rts)) trace_->Scl(rts);
    SampleData();
}

TracingSerialPort::~TracingSerialPort() {
    inner_.reset();
    trace_->Scl(false);
}

bool TracingSerialPort::SetDtr(bool on) {
    std::lock_guard lock(mutex_);
    const bool ok = inner_->SetDtr(on);
    SampleData();
    return ok;
}

bool TracingSerialPort::SetRts(bool on) {
    std::lock_guard lock(mutex_);
    const bool ok = inner_->SetRts(on);
    if (ok) trace_->Scl(on);
    SampleData();
    return ok;
}

// A read while a line change is under way goes unrecorded: the change
// records the wire itself when it is done, and a status thread that the
// change waits for (the emulator's lockstep) must not wait for it in turn.
bool TracingSerialPort::GetModemStatus(unsigned& bits) {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock) return inner_->GetModemStatus(bits);
    return ReadModemStatus(bits);
}

bool TracingSerialPort::ReadModemStatus(unsigned& bits) {
    if (!inner_->GetModemStatus(bits)) return false;
    trace_->Sda((bits & platform::kModemCts) != 0);
    return true;
}

void TracingSerialPort::SampleData() {
    unsigned bits = 0;
    ReadModemStatus(bits);
}
