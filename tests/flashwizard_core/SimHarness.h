// A loader simulator on a pseudo-terminal inside the test process, and recorders for what the
// update sequence and the device search show the pilot.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "flashwizard/core/DeviceSearch.h"
#include "flashwizard/core/LoaderTiming.h"
#include "flashwizard/core/UpdateReport.h"
#include "tools/sim/Simulator.h"

namespace fwtest {

// Timings of a twentieth: long enough for a loaded machine to answer over a pty, short enough
// for six failing passes to take about a second.
[[nodiscard]] flashwizard::LoaderTiming FastTiming();

// A fresh port directory, KORVALIS_PORT_DIR pointing at it, and a loader simulator as COM7.
class LoaderSim {
public:
    static constexpr const char* kPortName = "COM7";

    // args: extra quillon-sim options, e.g. {"--model", "831", "--refuse", "4:1"}.
    explicit LoaderSim(const std::vector<std::string>& args = {});
    ~LoaderSim();

    // Ends the simulator (as when the cable is pulled): the port disappears.
    void Stop();
    [[nodiscard]] bool started() const { return started_; }
    [[nodiscard]] const std::string& error() const { return error_; }
    // What the loader received, one line per command (the role's report).
    [[nodiscard]] std::vector<std::string> ReportLines() const;
    // The loader's program memory as the role wrote it (after the start command or Stop).
    [[nodiscard]] std::vector<std::string> ImageLines() const;
    [[nodiscard]] const std::string& dir() const { return dir_; }
    // A --vanish-after fault has pulled the port (it may be back since).
    [[nodiscard]] bool Vanished() { return started_ && running_.sim().Vanished(); }

private:
    std::string dir_;
    quillon_sim::SimulatorThread running_;
    bool started_ = false;
    std::string error_;
};

// Every call of the sequence on the wizard, as text: "status 164 2 4", "progress 5 0",
// "next 177", "enableNext 1", "done", "error 166", "message 175".
class RecordingReport : public flashwizard::UpdateReport {
public:
    std::vector<std::string> calls;
    flashwizard::ProgressCounter counter;
    std::vector<std::string> counterTexts;

    void SetStatus(unsigned id, const std::vector<int>& numbers) override;
    void SetProgress(int position, int total) override;
    void SetNextText(unsigned id) override { Add("next " + std::to_string(id)); }
    void EnableNext(bool enabled) override {
        Add(std::string("enableNext ") + (enabled ? "1" : "0"));
    }
    void EnableBack(bool enabled) override {
        Add(std::string("enableBack ") + (enabled ? "1" : "0"));
    }
    void SetUpdateDone() override { Add("done"); }
    void ShowError(unsigned id) override { Add("error " + std::to_string(id)); }
    void ShowMessage(unsigned id) override { Add("message " + std::to_string(id)); }

    // The status calls only, in order.
    [[nodiscard]] std::vector<std::string> Statuses() const;
    [[nodiscard]] bool Has(const std::string& call) const;

private:
    void Add(std::string call) { calls.push_back(std::move(call)); }
};

class RecordingStatusLine : public flashwizard::StatusLine {
public:
    std::vector<std::string> texts;
    std::function<void(const std::string&)> onText;
    void SetStatusLine(const std::string& text) override {
        texts.push_back(text);
        if (onText) onText(text);
    }
};

// Data bytes by address, from HEX record lines.
[[nodiscard]] std::map<unsigned, unsigned char> HexData(const std::vector<std::string>& lines);
[[nodiscard]] std::vector<std::string> ReadLines(const std::string& path);
[[nodiscard]] std::string SamplePath(const std::string& name);
// Writes lines to a fresh temporary file and returns its path.
[[nodiscard]] std::string WriteTempFile(const std::string& name, const std::string& text);

}  // namespace fwtest
