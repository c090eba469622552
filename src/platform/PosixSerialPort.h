#pragma once
// A tty of the system as a SerialPort: raw mode, no flow control unless asked,
// opened for this program alone (TIOCEXCL, which root may pass, plus an
// advisory lock, which nobody who asks for it may pass).

#include <memory>
#include <string>

#include "SerialPort.h"

namespace platform {

// nullptr when the port cannot be had; `error` then holds the errno value
// (EBUSY when another program holds it, ENOTTY when the path is no tty).
std::unique_ptr<SerialPort> OpenPosixSerialPort(const std::string& path, int& error);

}  // namespace platform
