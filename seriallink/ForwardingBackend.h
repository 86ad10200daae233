// A back end that hands every call to another one: the base of the wrappers that watch or
// change one aspect of a port (the trace, recorded sleeps in tests) and leave the rest alone.
#pragma once

#include <memory>
#include <utility>

#include "seriallink/SerialBackend.h"

namespace seriallink {

class ForwardingBackend : public SerialBackend {
public:
    explicit ForwardingBackend(std::unique_ptr<SerialBackend> inner) : inner_(std::move(inner)) {}

    OpenStatus Open(const std::string& devicePath) override { return inner_->Open(devicePath); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    bool GetLineSettings(LineSettings& out) override { return inner_->GetLineSettings(out); }
    bool SetLineSettings(const LineSettings& settings) override {
        return inner_->SetLineSettings(settings);
    }
    bool GetTimeouts(Timeouts& out) override { return inner_->GetTimeouts(out); }
    bool SetTimeouts(const Timeouts& timeouts) override { return inner_->SetTimeouts(timeouts); }
    bool Read(std::uint8_t* data, std::size_t count, std::size_t& got) override {
        return inner_->Read(data, count, got);
    }
    bool Write(const std::uint8_t* data, std::size_t count, std::size_t& written) override {
        return inner_->Write(data, count, written);
    }
    bool Close() override { return inner_->Close(); }
    OpenStatus Reopen(const std::string& devicePath) override { return inner_->Reopen(devicePath); }
    void Sleep(std::chrono::milliseconds duration) override { inner_->Sleep(duration); }

protected:
    [[nodiscard]] SerialBackend& inner() { return *inner_; }
    [[nodiscard]] const SerialBackend& inner() const { return *inner_; }

private:
    std::unique_ptr<SerialBackend> inner_;
};

}  // namespace seriallink
