#include "seriallink/SerialPort.h"

#include <new>
#include <thread>
#include <vector>

namespace seriallink {

std::string DevicePathForPort(const std::string& portName) {
    return kDevicePathPrefix + portName;
}

SerialPort::SerialPort() : SerialPort(MakePlatformBackend()) {}

SerialPort::SerialPort(std::unique_ptr<SerialBackend> backend) : backend_(std::move(backend)) {}

SerialPort::~SerialPort() {
    (void)Close();
}

bool SerialPort::IsOpen() const {
    return backend_ && backend_->IsOpen();
}

bool SerialPort::CloseHandle() {
    return !IsOpen() || backend_->Close();
}

bool SerialPort::OpenDevice(const std::string& name, std::uint32_t baudRate) {
    if (!backend_) return false;
    lastOpenStatus_ = backend_->Open(DevicePathForPort(name));
    if (lastOpenStatus_ != OpenStatus::Ok) return false;
    return SetUpDevice(baudRate);
}

bool SerialPort::SetUpDevice(std::uint32_t baudRate) {
    LineSettings line;
    bool ok = backend_->GetLineSettings(line);
    if (ok) {
        line.baudRate = baudRate;
        line.dataBits = 8;
        line.parity = Parity::None;
        line.stopBits = StopBits::One;
        ok = backend_->SetLineSettings(line);
    }
    if (ok) ok = ApplyTimeouts(0, 0);
    if (!ok) {
        (void)backend_->Close();  // a half set-up port is of no use; its close result neither
        return false;
    }
    return true;
}

bool SerialPort::Open(const std::string& name, std::uint32_t baudRate) {
    // The arguments are copies: name may be our own name_, which Close forgets.
    if (IsOpen() && !Close()) return false;
    // Remembered even when the open fails: a USB adapter that dropped out for a moment comes
    // back under the same name, and the next exchange's EnsureOpen finds it there.
    name_ = name;
    baudRate_ = baudRate;
    return OpenDevice(name, baudRate);
}

bool SerialPort::Reopen(std::uint32_t baudRate) {
    const std::string name = name_;
    if (!IsOpen()) return Open(name, baudRate);
    // The name and rate stay, as after a failed Open: a port that is gone for a moment is
    // found again by the next exchange's EnsureOpen.
    baudRate_ = baudRate;
    lastOpenStatus_ = backend_->Reopen(DevicePathForPort(name));
    if (lastOpenStatus_ != OpenStatus::Ok) return false;
    return SetUpDevice(baudRate);
}

bool SerialPort::Close() {
    if (!CloseHandle()) return false;
    name_.clear();
    baudRate_ = 0;
    return true;
}

bool SerialPort::EnsureOpen() {
    if (IsOpen()) return true;
    if (name_.empty()) return false;  // closed by Close: nothing to reopen
    return Open(std::string(name_), baudRate_);
}

bool SerialPort::Release(bool result) {
    if (keepOpen_ || !IsOpen()) return result;
    if (!backend_->Close()) return false;
    return result;  // name and rate stay remembered for EnsureOpen
}

void SerialPort::SetKeepOpen(bool flag) {
    keepOpen_ = flag;
}

bool SerialPort::ApplyTimeouts(std::uint32_t readTotal, std::uint32_t writeTotal) {
    if (!IsOpen()) return false;
    Timeouts timeouts;
    timeouts.readInterval = readInterval_;
    timeouts.readTotalMultiplier = readMultiplier_;
    timeouts.readTotalConstant = readTotal == 0 ? readTotalDefault_ : readTotal;
    timeouts.writeTotalMultiplier = writeMultiplier_;
    timeouts.writeTotalConstant = writeTotal == 0 ? writeTotalDefault_ : writeTotal;
    return backend_->SetTimeouts(timeouts);
}

bool SerialPort::Drain() {
    if (!IsOpen()) return false;
    Timeouts kept;
    if (!backend_->GetTimeouts(kept)) return false;
    if (!backend_->SetTimeouts(Timeouts::Immediate())) return false;
    std::uint8_t scratch[kDrainChunk];
    for (;;) {
        std::size_t got = 0;
        // A failing read leaves the port at immediate read; the next ApplyTimeouts or Open
        // puts it right, and every exchange starts with one.
        if (!backend_->Read(scratch, sizeof scratch, got)) return false;
        if (got < sizeof scratch) break;
    }
    return backend_->SetTimeouts(kept);
}

bool SerialPort::WriteRaw(const std::string& bytes) {
    if (!IsOpen()) return false;
    std::size_t written = 0;
    if (!backend_->Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                         written)) {
        // A failed write often means the device went away (USB cable); a fresh open is the
        // only way to get a working handle back, should it have returned.
        (void)Reopen(baudRate_);
        return false;
    }
    return written == bytes.size();
}

bool SerialPort::ReadUntilQuiet(std::string& out) {
    if (!IsOpen()) return false;
    out.clear();
    while (out.size() < kQuietReplyLimit) {
        std::uint8_t byte = 0;
        std::size_t got = 0;
        if (!backend_->Read(&byte, 1, got)) return false;
        if (got == 0) return true;
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

bool SerialPort::ReadFixed(std::string& out, std::size_t count) {
    if (!IsOpen()) return false;
    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::size_t got = 0;
    if (!backend_->Read(buffer.data(), count, got)) return false;
    if (got < count) return false;
    out.assign(reinterpret_cast<const char*>(buffer.data()), count);
    return true;
}

void SerialPort::Sleep(std::chrono::milliseconds duration) {
    if (backend_) {
        backend_->Sleep(duration);
    } else {
        std::this_thread::sleep_for(duration);  // no device at all; the wait still holds
    }
}

std::string SerialPort::PortName() const {
    return name_;
}

bool SerialPort::TransactFixed(const std::string& request, std::string& reply,
                               std::size_t replyLength, int attempts,
                               std::chrono::milliseconds pause,
                               std::chrono::milliseconds readTimeout) {
    if (!EnsureOpen()) return false;
    if (!ApplyTimeouts(static_cast<std::uint32_t>(readTimeout.count()), 0)) {
        return Release(false);
    }
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // Waiting input would be read as this request's reply; a failed drain spends the
        // attempt without a pause, as nothing was sent that needs time to settle.
        if (!Drain()) continue;
        if (!WriteRaw(request)) {
            Sleep(pause);
            continue;
        }
        if (!ReadFixed(reply, replyLength)) {
            Sleep(pause);
            continue;
        }
        (void)ApplyTimeouts(0, 0);
        return Release(true);
    }
    reply.clear();
    (void)ApplyTimeouts(0, 0);
    return Release(false);
}

bool SerialPort::TransactUntilQuiet(const std::string& request, std::string& reply,
                                    std::chrono::milliseconds readTimeout) {
    if (!EnsureOpen()) return false;
    // A late byte (the answer to a command that timed out) would otherwise lead the reply. A
    // failed drain does not end the exchange: the write tells whether the device is still there,
    // and reopens it when it went away and came back (a USB cable pulled and plugged in).
    (void)Drain();
    if (!ApplyTimeouts(static_cast<std::uint32_t>(readTimeout.count()), 0)) {
        return Release(false);
    }
    if (!WriteRaw(request)) return Release(false);
    if (!ReadUntilQuiet(reply)) return Release(false);
    (void)ApplyTimeouts(0, 0);
    return Release(true);
}

}  // namespace seriallink
