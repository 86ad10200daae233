#include "seriallink/TracingBackend.h"

#include "seriallink/ForwardingBackend.h"

namespace seriallink {
namespace {

class TracingBackend : public ForwardingBackend {
public:
    TracingBackend(std::unique_ptr<SerialBackend> inner, TraceSink sink)
        : ForwardingBackend(std::move(inner)), sink_(std::move(sink)) {}

    OpenStatus Open(const std::string& devicePath) override {
        const OpenStatus status = inner().Open(devicePath);
        Emit({TraceEvent::Kind::Open, status == OpenStatus::Ok, devicePath, {}, 0});
        return status;
    }
    bool SetLineSettings(const LineSettings& settings) override {
        const bool ok = inner().SetLineSettings(settings);
        static constexpr char kParity[] = {'N', 'O', 'E'};
        std::string text = std::to_string(settings.baudRate) + " " +
                           std::to_string(settings.dataBits) +
                           kParity[static_cast<int>(settings.parity)] +
                           (settings.stopBits == StopBits::One ? "1" : "2");
        Emit({TraceEvent::Kind::Line, ok, std::move(text), {}, 0});
        return ok;
    }
    bool Read(std::uint8_t* data, std::size_t count, std::size_t& got) override {
        const bool ok = inner().Read(data, count, got);
        Emit({TraceEvent::Kind::Read, ok, {}, {data, data + (ok ? got : 0)}, count});
        return ok;
    }
    bool Write(const std::uint8_t* data, std::size_t count, std::size_t& written) override {
        const bool ok = inner().Write(data, count, written);
        Emit({TraceEvent::Kind::Write, ok, {}, {data, data + (ok ? written : 0)}, count});
        return ok;
    }
    bool Close() override {
        if (!inner().IsOpen()) return inner().Close();
        const bool ok = inner().Close();
        Emit({TraceEvent::Kind::Close, ok, {}, {}, 0});
        return ok;
    }

private:
    void Emit(const TraceEvent& event) {
        if (sink_) sink_(event);
    }

    TraceSink sink_;
};

}  // namespace

std::unique_ptr<SerialBackend> MakeTracingBackend(std::unique_ptr<SerialBackend> inner,
                                                  TraceSink sink) {
    return std::make_unique<TracingBackend>(std::move(inner), std::move(sink));
}

std::string FormatTrace(const TraceEvent& event) {
    const std::string failed = event.ok ? "" : " FAILED";
    switch (event.kind) {
        case TraceEvent::Kind::Open:
            return "OPEN " + event.text + failed;
        case TraceEvent::Kind::Close:
            return "CLOSE" + failed;
        case TraceEvent::Kind::Line:
            return "LINE " + event.text + failed;
        case TraceEvent::Kind::Write:
            if (!event.ok) return "TX FAILED";
            return "TX " + HexDump(event.bytes) +
                   (event.bytes.size() < event.requested
                        ? " (" + std::to_string(event.bytes.size()) + " of " +
                              std::to_string(event.requested) + ")"
                        : "");
        case TraceEvent::Kind::Read:
            if (!event.ok) return "RX FAILED";
            if (event.bytes.empty()) return "RX (none of " + std::to_string(event.requested) + ")";
            return "RX " + HexDump(event.bytes) +
                   (event.bytes.size() < event.requested
                        ? " (" + std::to_string(event.bytes.size()) + " of " +
                              std::to_string(event.requested) + ")"
                        : "");
    }
    return {};
}

std::string HexDump(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (!text.empty()) text.push_back(' ');
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

}  // namespace seriallink
