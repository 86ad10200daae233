#include "seriallink/AirspacePort.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace seriallink::airspaceport {
namespace {

struct PortState {
    std::unique_ptr<SerialBackend> backend;  // null or closed: the handle is invalid
    std::uint32_t baudRate = kDefaultBaudRate;
    std::chrono::milliseconds readTimeout = kReadTimeout;
    BackendFactory factory;
    OpenStatus lastOpenStatus = OpenStatus::Ok;
};

PortState& State() {
    static PortState state;
    return state;
}

// The open-port time-outs: reads wait at most the read time-out, writes have no limit.
Timeouts OpenPortTimeouts() {
    return Timeouts{0, 0, static_cast<std::uint32_t>(State().readTimeout.count()), 0, 0};
}

// The back end, made on first use (a sleep may come before any Open).
SerialBackend* Backend() {
    PortState& state = State();
    if (!state.backend) state.backend = state.factory ? state.factory() : MakePlatformBackend();
    return state.backend.get();
}

SerialBackend* OpenBackend() {
    PortState& state = State();
    return state.backend && state.backend->IsOpen() ? state.backend.get() : nullptr;
}

// Discards up to kDrainLimit waiting bytes, so that a late answer to an earlier request is not
// taken for the answer to this one. Failures only end the drain; the exchange goes on.
void DrainWaitingInput(SerialBackend& port) {
    Timeouts kept;
    if (!port.GetTimeouts(kept)) return;
    if (!port.SetTimeouts(Timeouts::Immediate())) return;
    std::uint8_t scratch[kDrainLimit];
    std::size_t got = 0;
    (void)port.Read(scratch, sizeof scratch, got);
    (void)port.SetTimeouts(OpenPortTimeouts());
}

}  // namespace

void SetBaudRate(std::uint32_t baudRate) {
    State().baudRate = baudRate;
}

std::uint32_t BaudRate() {
    return State().baudRate;
}

void SetReadTimeout(std::chrono::milliseconds timeout) {
    State().readTimeout = timeout;
}

std::chrono::milliseconds ReadTimeout() {
    return State().readTimeout;
}

void Sleep(std::chrono::milliseconds duration) {
    if (SerialBackend* backend = Backend()) backend->Sleep(duration);
}

void SetBackendFactory(BackendFactory factory) {
    Close();
    PortState& state = State();
    state.backend.reset();
    state.factory = std::move(factory);
}

bool Open(const std::string& name) {
    std::string path = DevicePathForPort(name);
    PortState& state = State();
    if (path.size() > kMaxDevicePath) {
        state.lastOpenStatus = OpenStatus::Failed;
        return false;
    }
    Close();
    if (!Backend()) return false;
    SerialBackend& port = *state.backend;
    state.lastOpenStatus = port.Open(path);
    if (state.lastOpenStatus != OpenStatus::Ok) return false;

    LineSettings line;
    bool ok = port.GetLineSettings(line);
    if (ok) {
        line.baudRate = state.baudRate;
        line.dataBits = 8;
        line.parity = Parity::None;
        line.stopBits = StopBits::One;
        ok = port.SetLineSettings(line);
    }
    Timeouts timeouts;
    if (ok) ok = port.GetTimeouts(timeouts);
    if (ok) ok = port.SetTimeouts(OpenPortTimeouts());
    if (!ok) {
        (void)port.Close();
        return false;
    }
    return true;
}

void Close() {
    if (SerialBackend* port = OpenBackend()) (void)port->Close();
}

bool IsOpen() {
    return OpenBackend() != nullptr;
}

OpenStatus LastOpenStatus() {
    return State().lastOpenStatus;
}

std::vector<std::uint8_t> MakeFrame(std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> frame;
    frame.reserve(payload.size() + 2);
    frame.push_back(kFrameLead);
    std::uint8_t checksum = kFrameLead;
    for (std::uint8_t byte : payload) {
        frame.push_back(byte);
        checksum ^= byte;
    }
    frame.push_back(checksum);
    return frame;
}

bool FrameValid(std::span<const std::uint8_t> frame) {
    if (frame.size() < 2 || frame.front() != kFrameLead) return false;
    std::uint8_t checksum = kFrameLead;
    for (std::size_t i = 1; i + 1 < frame.size(); ++i) checksum ^= frame[i];
    return frame.back() == checksum;
}

unsigned Exchange(std::uint8_t* buffer, std::size_t capacity, std::size_t sendLength,
                  std::size_t receiveLength, bool frameRequest, bool checkReply) {
    if (sendLength > capacity || receiveLength > capacity ||
        (checkReply && receiveLength + 1 > capacity)) {
        return kExchangeTooLong;
    }
    SerialBackend* port = OpenBackend();
    if (!port) return kExchangeWriteFailed;  // nothing open: the request cannot be sent

    std::vector<std::uint8_t> request;
    std::vector<std::uint8_t> reply;
    const std::size_t expected = checkReply ? receiveLength + 2 : receiveLength;
    try {
        if (frameRequest) {
            request = MakeFrame({buffer, sendLength});
        } else {
            request.assign(buffer, buffer + sendLength);
        }
        reply.resize(expected);
    } catch (const std::bad_alloc&) {
        return kExchangeNoMemory;
    }

    DrainWaitingInput(*port);
    std::size_t written = 0;
    if (!port->Write(request.data(), request.size(), written) || written != request.size()) {
        return kExchangeWriteFailed;
    }

    std::size_t got = 0;
    if (!port->Read(reply.data(), expected, got)) return kExchangeReadFailed;
    if (got < expected) return kExchangeShortRead + static_cast<unsigned>(got);

    if (checkReply) {
        if (!FrameValid(reply)) return kExchangeBadFrame;
        std::copy_n(reply.begin() + 1, receiveLength, buffer);
        buffer[receiveLength] = 0;
    } else {
        std::copy_n(reply.begin(), expected, buffer);
    }
    return kExchangeOk;
}

}  // namespace seriallink::airspaceport
