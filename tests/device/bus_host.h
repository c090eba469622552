#pragma once
// A host on the three bus lines, moving them the way the device link does:
// RTS clock, DTR data out (true releases the wire), CTS data in. Lines is
// anything with SetDtr(bool), SetRts(bool) and Cts(): the emulator itself, or
// a port component through PortLines.

#include <vector>

#include "Orb31Emulator.h"

// A host on the three lines: RTS clock, DTR data out (true releases), CTS data in.
template <class Lines>
class BasicHost {
public:
    explicit BasicHost(Lines& lines) : d(lines) {
        d.SetDtr(true);
        d.SetRts(true);
    }

    // assert: clock and data high
    void Start() { d.SetDtr(false); }
    void Stop() {
        d.SetRts(false);
        d.SetDtr(false);
        d.SetRts(true);
        d.SetDtr(true);
    }
    void SendBit(bool bit) {
        d.SetRts(false);
        d.SetDtr(bit);
        d.SetRts(true);
    }
    // true: the device acknowledged. A missing acknowledge leaves both lines high.
    bool ReadAck() {
        d.SetRts(false);
        d.SetDtr(true);
        d.SetRts(true);
        if (d.Cts()) return false;
        d.SetRts(false);
        return true;
    }
    bool SendByte(int byte) {
        for (int bit = 7; bit >= 0; --bit) SendBit((byte >> bit) & 1);
        return ReadAck();
    }
    // assert: clock low after an acknowledge. Acknowledges the byte unless told not to.
    int ReadByte(bool acknowledge = true) {
        d.SetDtr(true);
        int byte = 0;
        for (int i = 0; i < 8; ++i) {
            d.SetRts(true);
            byte = (byte << 1) | (d.Cts() ? 1 : 0);
            d.SetRts(false);
        }
        d.SetDtr(!acknowledge);
        d.SetRts(true);
        d.SetRts(false);
        return byte;
    }
    // Ends a read the way the host must: one more byte not acknowledged, then STOP.
    void EndRead() {
        ReadByte(false);
        Stop();
    }
    // A whole write transaction; false at the first byte not acknowledged.
    bool Write(int address, const std::vector<int>& bytes) {
        Start();
        bool ok = SendByte(0xA0 | ((address >> 7) & 6)) && SendByte(address & 0xFF);
        for (int byte : bytes) ok = ok && SendByte(byte);
        if (ok) Stop();
        return ok;
    }
    // Dummy write of the address, STOP, then a read of n bytes, each acknowledged.
    std::vector<int> Read(int address, int n) {
        std::vector<int> bytes;
        Start();
        if (!SendByte(0xA0 | ((address >> 7) & 6)) || !SendByte(address & 0xFF)) return bytes;
        Stop();
        Start();
        if (!SendByte(0xA1)) return bytes;
        for (int i = 0; i < n; ++i) bytes.push_back(ReadByte());
        return bytes;
    }

    Lines& d;
};

using Host = BasicHost<Orb31Emulator>;
