// zonesend's port: one serial port for the whole process, used only by the airspace upload,
// and the "@" frame the instrument's airspace store speaks:
//   40, payload[0..n-1], 40 ^ payload[0] ^ ... ^ payload[n-1]
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "seriallink/SerialBackend.h"

namespace seriallink::airspaceport {

inline constexpr std::uint8_t kFrameLead = 0x40;  // "@"
inline constexpr std::uint32_t kDefaultBaudRate = 57600;
inline constexpr std::chrono::milliseconds kReadTimeout{100};  // every read of an exchange
inline constexpr std::size_t kDrainLimit = 1000;   // bytes discarded per exchange at most
inline constexpr std::size_t kMaxDevicePath = 31;  // characters of "//./" + name

// Exchange result codes. kShortRead + k: only k bytes arrived in time.
enum ExchangeResult : unsigned {
    kExchangeOk = 0,
    kExchangeNoMemory = 1,
    kExchangeBadFrame = 2,
    kExchangeTooLong = 3,
    kExchangeReadFailed = 4,
    kExchangeWriteFailed = 5,
    kExchangeShortRead = 6,
};

// The rate every Open uses (the application's baudRate; 57600 until set).
void SetBaudRate(std::uint32_t baudRate);
[[nodiscard]] std::uint32_t BaudRate();

// The read time-out every Open sets (100 ms until set; tests may shorten it).
void SetReadTimeout(std::chrono::milliseconds timeout);
[[nodiscard]] std::chrono::milliseconds ReadTimeout();

// Opens "//./" + name at BaudRate(), 8N1, reads waiting at most ReadTimeout(), writes without
// limit.
[[nodiscard]] bool Open(const std::string& name);
// What the back end answered to the last attempt to open a device (Ok before any).
[[nodiscard]] OpenStatus LastOpenStatus();
// Sends buffer[0..sendLength-1] (framed when frameRequest) after discarding waiting input, then
// reads receiveLength bytes (+2 and checked as a frame when checkReply) back into buffer.
// Returns an ExchangeResult; 0 = success.
[[nodiscard]] unsigned Exchange(std::uint8_t* buffer, std::size_t capacity, std::size_t sendLength,
                                std::size_t receiveLength, bool frameRequest, bool checkReply);
void Close();
[[nodiscard]] bool IsOpen();
// Waits on the port's back end, open or not: the upload's pause after a failed exchange.
void Sleep(std::chrono::milliseconds duration);

// Where the port's back end comes from; an empty factory restores the platform's. The one way
// to put another device (a fake, a traced port) under the upload.
void SetBackendFactory(BackendFactory factory);

// The "@" frame of a payload.
[[nodiscard]] std::vector<std::uint8_t> MakeFrame(std::span<const std::uint8_t> payload);
// True when frame (whole, length >= 2) starts with 0x40 and ends with the XOR checksum.
[[nodiscard]] bool FrameValid(std::span<const std::uint8_t> frame);

}  // namespace seriallink::airspaceport
