// An in-memory serial device for tests: scripted input, recorded output, and switches for the
// failures a pseudo-terminal cannot produce (failing write, short write, failing close ...).
//
//     seriallink::testing::FakeLine line;
//     line.onWrite = [](const std::string& sent, FakeLine& l) { l.Feed("\x06"); };
//     seriallink::SerialPort port(line.MakeBackend());
//
// Reads never wait: they return at once with what is queued, and record the time-outs that
// were in force, so tests check both the bytes and the time-outs asked for. Sleeps never wait
// either; they are recorded, so tests check the pauses without spending them.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "seriallink/SerialBackend.h"

namespace seriallink::testing {

struct FakeLine {
    // The device.
    bool present = true;       // Open of a missing device gives NotFound
    bool busy = false;         // Open gives Busy
    std::string expectedPath;  // when not empty, Open of another path gives NotFound

    // Failure switches; each stays in force until cleared.
    bool failGetLine = false;
    bool failSetLine = false;
    bool failGetTimeouts = false;
    bool failSetTimeouts = false;
    bool failRead = false;
    bool failWrite = false;
    bool failClose = false;
    std::size_t writeShortBy = 0;  // a write sends this many bytes fewer
    int failWritesLeft = 0;        // the next n writes fail, then writes work again

    // Device state and records.
    bool isOpen = false;
    std::deque<std::uint8_t> input;        // bytes waiting to be read
    std::string written;                   // everything written, in order
    std::vector<std::string> writes;       // one entry per write call
    std::vector<std::size_t> readCounts;   // requested count of each read
    std::vector<Timeouts> readTimeouts;    // time-outs in force at each read
    std::vector<Timeouts> timeoutHistory;  // every successful SetTimeouts
    LineSettings line{9600, 7, Parity::Even, StopBits::Two};
    Timeouts timeouts{};
    int opens = 0;
    int closes = 0;
    std::string lastPath;
    std::vector<std::chrono::milliseconds> sleeps;  // every Sleep, in order
    // Opens, closes and sleeps in order: "open //./COM5", "close", "sleep 100".
    std::vector<std::string> journal;

    // Called after every successful write with the bytes written: the device's answer.
    std::function<void(const std::string& sent, FakeLine& line)> onWrite;

    void Feed(const std::string& bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }
    void Feed(std::size_t count, std::uint8_t value) { input.insert(input.end(), count, value); }

    [[nodiscard]] std::unique_ptr<SerialBackend> MakeBackend();
    [[nodiscard]] BackendFactory Factory() {
        return [this] { return MakeBackend(); };
    }
};

class FakeBackend : public SerialBackend {
public:
    explicit FakeBackend(FakeLine& line) : line_(line) {}

    OpenStatus Open(const std::string& devicePath) override {
        if (open_) (void)Close();
        line_.lastPath = devicePath;
        if (!line_.present || (!line_.expectedPath.empty() && devicePath != line_.expectedPath)) {
            return OpenStatus::NotFound;
        }
        if (line_.busy || line_.isOpen) return OpenStatus::Busy;
        open_ = true;
        line_.isOpen = true;
        ++line_.opens;
        line_.journal.push_back("open " + devicePath);
        return OpenStatus::Ok;
    }
    bool IsOpen() const override { return open_; }
    bool GetLineSettings(LineSettings& out) override {
        if (!open_ || line_.failGetLine) return false;
        out = line_.line;
        return true;
    }
    bool SetLineSettings(const LineSettings& settings) override {
        if (!open_ || line_.failSetLine) return false;
        line_.line = settings;
        return true;
    }
    bool GetTimeouts(Timeouts& out) override {
        if (!open_ || line_.failGetTimeouts) return false;
        out = line_.timeouts;
        return true;
    }
    bool SetTimeouts(const Timeouts& timeouts) override {
        if (!open_ || line_.failSetTimeouts) return false;
        line_.timeouts = timeouts;
        line_.timeoutHistory.push_back(timeouts);
        return true;
    }
    bool Read(std::uint8_t* data, std::size_t count, std::size_t& got) override {
        got = 0;
        if (!open_ || line_.failRead) return false;
        line_.readCounts.push_back(count);
        line_.readTimeouts.push_back(line_.timeouts);
        got = std::min(count, line_.input.size());
        std::copy_n(line_.input.begin(), got, data);
        line_.input.erase(line_.input.begin(), line_.input.begin() + static_cast<long>(got));
        return true;
    }
    bool Write(const std::uint8_t* data, std::size_t count, std::size_t& written) override {
        written = 0;
        if (!open_ || line_.failWrite) return false;
        if (line_.failWritesLeft > 0) {
            --line_.failWritesLeft;
            return false;
        }
        written = count > line_.writeShortBy ? count - line_.writeShortBy : 0;
        std::string sent(reinterpret_cast<const char*>(data), written);
        line_.written += sent;
        line_.writes.push_back(sent);
        if (line_.onWrite) line_.onWrite(sent, line_);
        return true;
    }
    bool Close() override {
        if (!open_) return true;
        if (line_.failClose) return false;
        open_ = false;
        line_.isOpen = false;
        ++line_.closes;
        line_.journal.push_back("close");
        return true;
    }
    void Sleep(std::chrono::milliseconds duration) override {
        line_.sleeps.push_back(duration);
        line_.journal.push_back("sleep " + std::to_string(duration.count()));
    }
    ~FakeBackend() override {
        if (open_) line_.isOpen = false;
    }

private:
    FakeLine& line_;
    bool open_ = false;
};

inline std::unique_ptr<SerialBackend> FakeLine::MakeBackend() {
    return std::make_unique<FakeBackend>(*this);
}

}  // namespace seriallink::testing
