// flashwizard's port object: one serial port held for the whole run, opened, reopened at
// another rate and closed by the wizard and the update sequence. Data are byte strings
// (std::string holding any byte value, 0 included).
//
// Calling order of one loader exchange: EnsureOpen; ApplyTimeouts(T, 0); per attempt Drain,
// WriteRaw, ReadFixed or ReadUntilQuiet; then ApplyTimeouts(0, 0) and Release(outcome).
// TransactFixed and TransactUntilQuiet wrap exactly that order.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "seriallink/SerialBackend.h"

namespace seriallink {

class SerialPort {
public:
    static constexpr std::uint32_t kReadTotalDefault = 500;  // ms, when a caller passes 0
    static constexpr std::uint32_t kWriteTotalDefault = 10;  // ms, when a caller passes 0
    static constexpr std::uint32_t kWriteMultiplier = 1;     // ms per byte written
    static constexpr std::size_t kDrainChunk = 1000;         // bytes per drain read
    // Longest reply ReadUntilQuiet collects. The loader's replies are a few dozen bytes; a
    // device that never falls silent (a GPS receiver on the wrong port) must not keep the read,
    // and the window waiting for it, going for ever.
    static constexpr std::size_t kQuietReplyLimit = 1024;

    // A port on this platform's back end.
    SerialPort();
    // A port on the given back end (tests: a FakeBackend).
    explicit SerialPort(std::unique_ptr<SerialBackend> backend);
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens "//./" + name at baudRate, 8N1, default time-outs; closes the current port first.
    // Name and rate are remembered also when the open fails, so that EnsureOpen tries again.
    [[nodiscard]] bool Open(const std::string& name, std::uint32_t baudRate);
    // Close, then Open by the remembered name at baudRate, as one step: the back end keeps
    // other programs out meanwhile where it can (a second program's open in the gap would
    // otherwise take the port from under a running update). Open when the port is closed.
    [[nodiscard]] bool Reopen(std::uint32_t baudRate);
    // Closes and forgets name and rate; true also when nothing was open. On a failing close
    // the port stays open and remembered.
    [[nodiscard]] bool Close();
    [[nodiscard]] bool IsOpen() const;
    // Reopens with the remembered name and rate when closed (after Release or a failed Open,
    // not after Close).
    [[nodiscard]] bool EnsureOpen();
    // End of an exchange: closes unless keepOpen; passes result through (false if the close
    // fails).
    [[nodiscard]] bool Release(bool result);
    void SetKeepOpen(bool flag);
    // Read total constant and write total constant in ms; 0 selects the default.
    [[nodiscard]] bool ApplyTimeouts(std::uint32_t readTotal, std::uint32_t writeTotal);
    // Discards all waiting input, 1000 bytes per read.
    [[nodiscard]] bool Drain();
    [[nodiscard]] bool WriteRaw(const std::string& bytes);
    // Collects bytes one by one until a single-byte read times out, or until kQuietReplyLimit
    // bytes have arrived (then the caller judges the reply, which is no loader's).
    [[nodiscard]] bool ReadUntilQuiet(std::string& out);
    // Reads exactly count bytes in one read; out is untouched on false.
    [[nodiscard]] bool ReadFixed(std::string& out, std::size_t count);
    [[nodiscard]] std::string PortName() const;
    // What the back end answered to the last attempt to open a device (Ok before any).
    [[nodiscard]] OpenStatus LastOpenStatus() const { return lastOpenStatus_; }

    // One request/reply exchange with a reply of fixed length, repeated on transport failures:
    // up to `attempts` tries, `pause` between failed ones, `readTimeout` per read. true when a
    // full reply arrived (a refusing reply is still true; the caller judges its content).
    [[nodiscard]] bool TransactFixed(const std::string& request, std::string& reply,
                                     std::size_t replyLength, int attempts,
                                     std::chrono::milliseconds pause,
                                     std::chrono::milliseconds readTimeout);
    // Drains, sends one request, then reads the reply up to the first pause of readTimeout. One
    // attempt; true when written and read without error (the reply may be empty).
    [[nodiscard]] bool TransactUntilQuiet(const std::string& request, std::string& reply,
                                          std::chrono::milliseconds readTimeout);

    // Rate of the last Open; 0 after Close.
    [[nodiscard]] std::uint32_t BaudRate() const { return baudRate_; }
    [[nodiscard]] bool KeepOpen() const { return keepOpen_; }
    // Waits on the port's back end: the pauses of TransactFixed and of the loader procedures
    // above (a fake back end makes them instant). Works whether the port is open or not.
    void Sleep(std::chrono::milliseconds duration);

private:
    [[nodiscard]] bool OpenDevice(const std::string& name, std::uint32_t baudRate);
    // Line settings and default time-outs of a device just opened; closes it on failure.
    [[nodiscard]] bool SetUpDevice(std::uint32_t baudRate);
    [[nodiscard]] bool CloseHandle();

    std::unique_ptr<SerialBackend> backend_;  // the handle: open or not
    std::string name_;
    bool keepOpen_ = false;
    std::uint32_t readTotalDefault_ = kReadTotalDefault;
    std::uint32_t readInterval_ = 0;
    std::uint32_t readMultiplier_ = 0;
    std::uint32_t writeTotalDefault_ = kWriteTotalDefault;
    std::uint32_t writeMultiplier_ = kWriteMultiplier;
    std::uint32_t baudRate_ = 0;
    OpenStatus lastOpenStatus_ = OpenStatus::Ok;
};

}  // namespace seriallink
