// The device commands on the emulated ORB-31 with real timing and real
// threads: the whole write command (99 keys and a 224-character text, written,
// read back, with its bus resets), the read command, and how late the port's
// status thread sees a CTS change. Each command is set against its floor, the
// sleeps the protocol itself mandates; the busy waits come on top and follow
// the speed of the processor. The second argument 1 samples the data line as
// the status thread last saw it instead of from the driver.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "CommPort.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"
#include "device_bus.h"
#include "device_controls.h"
#include "device_memory.h"
#include "device_operations.h"
#include "key_text.h"
#include "reporter.h"

namespace {

using namespace std::chrono_literals;
using Seconds = std::chrono::duration<double>;

// The mandated sleeps, in milliseconds.
constexpr double kWriteCycleMs = 10, kResetMs = 21 * 20, kAckMs = 1, kOperationMs = 2;

// A write command of `cells` cells and `reportBytes` report bytes: every write
// transaction and the verification read sleep 10 ms after; three bus resets
// (write start, verification start, end); two operation starts; one
// acknowledge per byte sent (10 per cell, 2 + the data per report block, 3 for
// the read's addressing).
double WriteFloorMs(int cells, int reportBytes) {
    const int blocks = (reportBytes + 15) / 16;
    const int acks = cells * 10 + blocks * 2 + reportBytes + 3;
    return (cells + blocks + 1) * kWriteCycleMs + 3 * kResetMs + acks * kAckMs + 2 * kOperationMs;
}

// The read command: two bus resets (start, end), one operation start, three
// acknowledges and the sleep after the read.
double ReadFloorMs() {
    return 2 * kResetMs + kOperationMs + 3 * kAckMs + kWriteCycleMs;
}

std::vector<BaseRecord> Keys(int n) {
    std::vector<BaseRecord> keys;
    for (int i = 0; i < n; ++i) {
        const unsigned b = static_cast<unsigned>(i) & 0xFF;
        char text[32];
        std::snprintf(text, sizeof text, "00%02X%02X%02X%02X%02X%02X%02X", b, 0xFF - b, (b * 37) & 0xFF, 0xA5u, 0x5Au,
                      b, 0x3Cu);
        BaseRecord key;
        key.KeyHex = text;
        SetKeyCrc(key.KeyHex, false);
        keys.push_back(key);
    }
    return keys;
}

struct Rig {
    Rig(int speed, bool statusThreadCts, std::string report = {}) : controls(speed, 1, std::move(report)) {
        AddEmulatedPort(ports, 1, device);
        LoadCommPort1Properties(port);
        if (statusThreadCts) operations.Bus().SetLineSampling(LineSampling::kStatusThread);
    }
    platform::SerialPortList ports{"", ""};
    std::shared_ptr<EmulatedDevice> device = std::make_shared<EmulatedDevice>();
    TCommPort port{&ports};
    FixedDeviceControls controls;
    NullReporter reporter;
    DeviceOperations operations{port, controls, reporter};
};

void Report(benchmark::State& state, double floorMs, double totalSeconds, int failures) {
    const double runs = static_cast<double>(state.iterations());
    state.counters["floor_s"] = floorMs / 1000;
    state.counters["x_floor"] = totalSeconds / runs / (floorMs / 1000);
    state.counters["failed_runs"] = failures;
    state.counters["runs"] = runs;
}

// What every run of a command shares: its two arguments, and wall-clock
// seconds, since the time goes to sleeps and to the port's threads.
void CommandRuns(benchmark::internal::Benchmark* b) {
    b->ArgNames({"speed", "status_thread_cts"})->Unit(benchmark::kSecond)->UseRealTime();
}

void BM_WriteCommand(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)), state.range(1) != 0, std::string(kReportAreaSize, 'x'));
    const auto entries = Keys(kDeviceKeyCells);
    double total = 0;
    int failures = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const DeviceResult result = rig.operations.WriteEntries(entries);
        total += Seconds(std::chrono::steady_clock::now() - start).count();
        if (result != DeviceResult::kDone) ++failures;
    }
    Report(state, WriteFloorMs(kDeviceCells, kReportAreaSize), total, failures);
}
BENCHMARK(BM_WriteCommand)->Apply(CommandRuns)->Args({20, 0})->Iterations(10);
BENCHMARK(BM_WriteCommand)->Apply(CommandRuns)->Args({10, 0})->Iterations(2);
BENCHMARK(BM_WriteCommand)->Apply(CommandRuns)->Args({20, 1})->Args({10, 1})->Iterations(3);

// Reads 99 keys and a 224-character text, and compares them with what the
// memory holds.
void BM_ReadCommand(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)), state.range(1) != 0);
    const auto keys = Keys(kDeviceKeyCells);
    rig.device->Access([&](Orb31Emulator& e) {
        for (int c = 0; c < kDeviceKeyCells; ++c)
            for (int b = 0; b < 8; ++b)
                e.Contents()[static_cast<std::size_t>(8 * (c + 1) + b)] = static_cast<std::uint8_t>(std::stoi(
                    keys[static_cast<std::size_t>(c)].KeyHex.substr(static_cast<std::size_t>(2 * b), 2), nullptr, 16));
        for (int i = 0; i < kReportAreaSize; ++i) e.Contents()[static_cast<std::size_t>(800 + i)] = 'y';
    });
    double total = 0;
    int failures = 0;
    for (auto _ : state) {
        std::vector<BaseRecord> read;
        rig.controls.SetReportText({});
        const auto start = std::chrono::steady_clock::now();
        const DeviceResult result = rig.operations.ReadKeys(read);
        total += Seconds(std::chrono::steady_clock::now() - start).count();
        if (result != DeviceResult::kDone || !SameKeys(keys, read) ||
            rig.controls.ReportText() != std::string(kReportAreaSize, 'y'))
            ++failures;
    }
    Report(state, ReadFloorMs(), total, failures);
}
BENCHMARK(BM_ReadCommand)->Apply(CommandRuns)->Args({20, 0})->Args({20, 1})->Iterations(5);
BENCHMARK(BM_ReadCommand)->Apply(CommandRuns)->Args({10, 0})->Iterations(1);

double WaitUs(int n) {
    const auto start = std::chrono::steady_clock::now();
    DeviceBus::Delay(n);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

// How late the status thread's CTS follows a DTR change, at the pace of a
// read: one change, then the main thread spins (as the settle wait of the
// speed in the argument does) until CTS shows it, and on to the end of that
// settle wait. A lag counts only when the main thread kept running all along
// (no gap of over 20 us between two looks): a main thread that was itself
// held off would have sampled late anyway. `late` is how many lags were longer
// than what a read bit waits between the change and the sample (two short
// waits and the settle wait).
void BM_CtsLatency(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int speed = static_cast<int>(state.range(0));
    Rig rig(speed, true);
    const auto settle = std::chrono::duration<double, std::micro>(WaitUs((kSpeedMax - speed) * 100) + 2 * WaitUs(5));
    rig.port.SetOpen(true);
    std::vector<double> lags;
    int heldOff = 0;
    bool high = rig.port.DTR();
    for (auto _ : state) {
        high = !high;
        rig.port.SetDTR(high);
        const auto start = Clock::now();
        auto last = start;
        bool gap = false;
        while (rig.port.CTS() != high) {
            const auto now = Clock::now();
            gap = gap || now - last > 20us;
            last = now;
        }
        const auto seen = Clock::now();
        if (gap)
            ++heldOff;
        else
            lags.push_back(std::chrono::duration<double, std::micro>(seen - start).count());
        while (Clock::now() - start < settle) {
        }
    }
    rig.port.SetOpen(false);
    std::sort(lags.begin(), lags.end());
    auto at = [&](double q) { return lags[static_cast<std::size_t>(q * static_cast<double>(lags.size() - 1))]; };
    state.counters["sample_after_us"] = settle.count();
    state.counters["p50_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["p999_us"] = at(0.999);
    state.counters["max_us"] = lags.back();
    state.counters["late"] =
        static_cast<double>(lags.end() - std::upper_bound(lags.begin(), lags.end(), settle.count()));
    state.counters["main_held_off"] = heldOff;
}
BENCHMARK(BM_CtsLatency)->ArgName("speed")->Arg(20)->Iterations(20000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_CtsLatency)->ArgName("speed")->Arg(10)->Iterations(4000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
