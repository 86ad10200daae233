// termios2 access for Linux serial devices and pseudo-terminals: any line rate (also those
// without a B-constant, through BOTHER), and the rate the other end of a pty has set.
// Kept apart because <asm/termbits.h> cannot share a translation unit with <termios.h>.
#pragma once

#include <cstdint>

#include "seriallink/SerialBackend.h"

namespace seriallink::posix {

// Raw 8-bit transparent line: no echo, no line editing, no signals, no CR/LF or XON/XOFF
// processing; VMIN 1, VTIME 0, for descriptors opened O_NONBLOCK.
[[nodiscard]] bool MakeRaw(int fd);
[[nodiscard]] bool ReadLine(int fd, LineSettings& out);
[[nodiscard]] bool WriteLine(int fd, const LineSettings& settings);
// The output rate of the line; on a pty master this is what the slave's user set.
[[nodiscard]] bool ReadLineRate(int fd, std::uint32_t& rate);
// Asks the driver for low latency (USB adapters); a refusal is no error, so nothing is returned.
void RequestLowLatency(int fd);

}  // namespace seriallink::posix
