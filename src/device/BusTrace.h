#pragma once
// A record of the bus as the host sees it, as a value change dump (VCD) that
// logic-analyser programs open: two wires, "scl" (RTS) and "sda" (the data
// wire as CTS reports it). Both start at 0 at time 0; every change gets its
// own timestamp, strictly later than the one before, so no decoder has to
// guess the order of a clock and a data edge; the file ends with a timestamp
// after the last change. The timescale is 1 us: long idle gaps cost nothing,
// and edges closer than that are kept apart by 1 us each.
//
// One trace lives across any number of opens and closes of a port; attach
// it to a port component (TCommPort::SetBusTrace) or wrap a port directly.

#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "SerialPort.h"

class BusTrace {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Creates or empties the file. The clock is steady_clock when none is given.
    explicit BusTrace(const std::string& path, Clock clock = {});
    // Writes the closing timestamp.
    ~BusTrace();
    BusTrace(const BusTrace&) = delete;
    BusTrace& operator=(const BusTrace&) = delete;

    // False when the file could not be written.
    bool Ok() const;

    void Scl(bool high);
    void Sda(bool high);

private:
    void Change(int wire, bool high);

    mutable std::mutex mutex_;
    std::ofstream out_;
    std::function<std::chrono::steady_clock::time_point()> clock_;
    std::chrono::steady_clock::time_point start_;
    std::int64_t last_ = 0;  // timestamp of the last line written, in us
    bool values_[2] = {false, false};
};

// A port whose line changes and CTS reads go into a trace as well. Opening
// records where the lines stand; closing records the clock dropping (CTS
// cannot be read on a closed port, so sda keeps its last value until the
// next open shows it).
class TracingSerialPort final : public platform::SerialPort {
public:
    TracingSerialPort(std::unique_ptr<platform::SerialPort> inner, std::shared_ptr<BusTrace> trace);
    ~TracingSerialPort() override;

    bool Configure(const platform::SerialLineSettings& settings) override { return inner_->Configure(settings); }
    bool Purge(bool input, bool output) override { return inner_->Purge(input, output); }
    bool SetDtr(bool on) override;
    bool SetRts(bool on) override;
    bool SetBreak(bool on) override { return inner_->SetBreak(on); }
    bool GetControlLines(bool& dtr, bool& rts) override { return inner_->GetControlLines(dtr, rts); }
    bool GetModemStatus(unsigned& bits) override;
    bool WaitModemEvent(unsigned mask, unsigned& events) override { return inner_->WaitModemEvent(mask, events); }
    void CancelModemWait() override { inner_->CancelModemWait(); }
    long Read(void* buffer, std::size_t size) override { return inner_->Read(buffer, size); }
    long Write(const void* data, std::size_t size) override { return inner_->Write(data, size); }
    long InputQueued() override { return inner_->InputQueued(); }
    long OutputQueued() override { return inner_->OutputQueued(); }
    int WaitReady(platform::IoSide side, int timeoutMs) override { return inner_->WaitReady(side, timeoutMs); }
    void Interrupt(platform::IoSide side) override { inner_->Interrupt(side); }

private:
    // With mutex_ held. Reads CTS so that the trace shows what a line change did to the wire.
    void SampleData();
    bool ReadModemStatus(unsigned& bits);

    // A status read and its record are one step, and so are a line change and
    // its records: a value read before a change is never written after it.
    std::mutex mutex_;
    std::unique_ptr<platform::SerialPort> inner_;
    std::shared_ptr<BusTrace> trace_;
};
