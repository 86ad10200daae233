// The seam under both port layers: one open serial device, driven the way the Win32
// communications interface drives it (line settings record, five time-out values, synchronous
// read and write). The POSIX back end realises it with termios and poll(); tests put an
// in-memory fake (seriallink/testing/FakeBackend.h) in its place where a pseudo-terminal cannot
// show a case, such as a failing write or close.
//
// Waiting belongs to the seam too: every fixed pause of the protocols above (the retry pauses,
// the settling time after a reopen) goes through Sleep, so one fake makes a whole upload or
// update run without a single real wait, while the platform back ends keep them exact.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace seriallink {

// The five time-out values of a port, in milliseconds, with the Win32 meanings:
// a read ends when its count has arrived, when readTotalMultiplier x count + readTotalConstant
// has passed, or (readInterval != 0) when the gap after a received byte exceeds readInterval.
// readInterval = kNoWait with both read totals 0 returns at once with what is buffered.
// Both write values 0: a write has no time-out.
struct Timeouts {
    static constexpr std::uint32_t kNoWait = 0xFFFFFFFFu;

    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;

    // Read returns immediately with the bytes already waiting.
    [[nodiscard]] static constexpr Timeouts Immediate() { return Timeouts{kNoWait, 0, 0, 0, 0}; }
    [[nodiscard]] constexpr bool IsImmediate() const {
        return readInterval == kNoWait && readTotalMultiplier == 0 && readTotalConstant == 0;
    }
    friend constexpr bool operator==(const Timeouts&, const Timeouts&) = default;
};

enum class Parity : std::uint8_t { None, Odd, Even };
enum class StopBits : std::uint8_t { One, Two };

// The part of the line settings record the programs touch. Everything else (handshake lines,
// flow control) stays as the driver reported it.
struct LineSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    friend constexpr bool operator==(const LineSettings&, const LineSettings&) = default;
};

enum class OpenStatus {
    Ok,
    NotFound,      // no such device (Win32 ERROR_FILE_NOT_FOUND and alike)
    Busy,          // exists but another program holds it (sharing violation, access denied)
    Faulty,        // exists but does not work (Win32 error 31)
    Failed,        // any other failure
    NoPermission,  // exists but this user may not open it (POSIX: not in the device's group)
};

class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Opens the device of a path "//./COMn" for reading and writing, without sharing, only if
    // it exists. Any device open before is closed first.
    [[nodiscard]] virtual OpenStatus Open(const std::string& devicePath) = 0;
    [[nodiscard]] virtual bool IsOpen() const = 0;
    [[nodiscard]] virtual bool GetLineSettings(LineSettings& out) = 0;
    [[nodiscard]] virtual bool SetLineSettings(const LineSettings& settings) = 0;
    [[nodiscard]] virtual bool GetTimeouts(Timeouts& out) = 0;
    [[nodiscard]] virtual bool SetTimeouts(const Timeouts& timeouts) = 0;
    // Reads up to count bytes under the current time-outs. false only on an I/O error; a read
    // that timed out returns true with got < count.
    [[nodiscard]] virtual bool Read(std::uint8_t* data, std::size_t count, std::size_t& got) = 0;
    // Writes count bytes under the current time-outs; written tells how many left.
    [[nodiscard]] virtual bool Write(const std::uint8_t* data, std::size_t count,
                                     std::size_t& written) = 0;
    // Closes the device. On false the device stays open.
    [[nodiscard]] virtual bool Close() = 0;
    // Closes the device and opens devicePath again. Back ends that can keep other programs out
    // in between do so (the POSIX one holds its advisory lock throughout); this default leaves
    // a moment in which another program may take the device.
    [[nodiscard]] virtual OpenStatus Reopen(const std::string& devicePath) {
        if (!Close()) return OpenStatus::Failed;
        return Open(devicePath);
    }
    // Waits for duration, open or not (the pause after a failed exchange, the settling time
    // after a reopen).
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

using BackendFactory = std::function<std::unique_ptr<SerialBackend>()>;

// The back end of this platform (POSIX termios here, Win32 on Windows).
[[nodiscard]] std::unique_ptr<SerialBackend> MakePlatformBackend();

// "//./" + port name: the path every port is opened by.
inline constexpr const char* kDevicePathPrefix = "//./";
[[nodiscard]] std::string DevicePathForPort(const std::string& portName);

}  // namespace seriallink
