#pragma once
// Rates that have no Bnnn constant. Kept apart because the kernel's termios2
// declarations cannot share a translation unit with <termios.h>.

namespace platform {

// Sets both speeds of the tty to `baud`; false when the driver refused.
bool SetTtyCustomBaud(int fd, int baud);

}  // namespace platform
