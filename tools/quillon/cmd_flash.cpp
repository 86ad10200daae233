// quillon flash FILE.hex --port COMn: the Downloader's firmware update without the wizard.
//
// It runs the wizard's own steps: the file check of the file page, the loader search of the port
// page, and the update sequence of the progress page, with the same German texts.

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "flashwizard/core/DeviceSearch.h"
#include "flashwizard/core/FirmwareCheck.h"
#include "flashwizard/core/UpdateSequence.h"
#include "flashwizard/core/WizardStrings.h"
#include "seriallink/SerialPort.h"
#include "tools/quillon/command.h"

namespace {

using flashwizard::WizardText;

constexpr int kBarWidth = 40;

// Message boxes become lines on standard error.
class ConsoleMessages : public seriallink::MessageOwner {
public:
    explicit ConsoleMessages(std::FILE* out) : out_(out) {}
    seriallink::MessageAnswer ShowMessageBox(
        const seriallink::MessageBoxRequest& request) override {
        std::fprintf(out_, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        std::fflush(out_);
        return request.buttons == seriallink::MessageButtons::Ok ? seriallink::MessageAnswer::Ok
                                                                 : seriallink::MessageAnswer::No;
    }

private:
    std::FILE* out_;
};

class ConsoleStatusLine : public flashwizard::StatusLine {
public:
    void SetStatusLine(const std::string& text) override {
        if (text.empty()) return;
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
};

// The progress page on a terminal: one line with bar, counter and status, rewritten in place.
// Without a terminal (a log file, a pipe) a line is written only when the status changes.
class ConsoleReport : public flashwizard::UpdateReport {
public:
    ConsoleReport() : interactive_(isatty(STDOUT_FILENO) != 0) {}

    void SetStatus(unsigned id, const std::vector<int>& numbers) override {
        status_ = WizardText(id, numbers);
        if (interactive_) {
            Redraw();
        } else {
            std::printf("%7s  %s\n", counter_.Text().c_str(), status_.c_str());
            std::fflush(stdout);
        }
    }
    void SetProgress(int position, int total) override {
        counter_.Set(position, total);
        if (interactive_) Redraw();
    }
    void SetNextText(unsigned) override {}
    void EnableNext(bool) override {}
    void EnableBack(bool) override {}
    void SetUpdateDone() override {}
    void ShowError(unsigned id) override { Announce(flashwizard::kStrErrorCaption, id); }
    void ShowMessage(unsigned id) override {
        // A log already has the outcome as its last status line.
        if (interactive_ || WizardText(id) != status_) Announce(0, id);
    }

private:
    void Redraw() {
        const int total = counter_.total();
        const int filled = total > 0 ? counter_.position() * kBarWidth / total : 0;
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.resize(kBarWidth, '.');
        std::printf("\r[%s] %7s  %-60.60s", bar.c_str(), counter_.Text().c_str(), status_.c_str());
        std::fflush(stdout);
        lineOpen_ = true;
    }
    void Announce(unsigned captionId, unsigned id) {
        if (lineOpen_) std::printf("\n");
        lineOpen_ = false;
        std::FILE* out = captionId != 0 ? stderr : stdout;
        if (captionId != 0) std::fprintf(out, "%s: ", WizardText(captionId).c_str());
        std::fprintf(out, "%s\n", WizardText(id).c_str());
        std::fflush(out);
    }

    bool interactive_;
    bool lineOpen_ = false;
    std::string status_;
    flashwizard::ProgressCounter counter_;
};

int runFlash(const std::vector<std::string>& args) {
    std::string file;
    std::string portName;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--port" && i + 1 < args.size()) {
            portName = args[++i];
        } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            return quillon::fail("usage: quillon flash FILE.hex --port COMn", 2);
        }
    }
    if (file.empty() || portName.empty()) {
        return quillon::fail("usage: quillon flash FILE.hex --port COMn", 2);
    }

    ConsoleMessages messages(stderr);
    std::vector<std::string> hexLines;
    if (!flashwizard::CheckFirmwareFile(file, hexLines, &messages)) return 1;

    seriallink::SerialPort port;
    flashwizard::LinkState link;
    ConsoleStatusLine statusLine;
    flashwizard::DeviceSearch search(port, link, statusLine, &messages);
    bool searchFailed = false;
    if (search.Run(portName, searchFailed) != flashwizard::SearchOutcome::Found) return 1;
    std::printf("Loader ADI %u, %s\n", link.chipModel,
                link.chipKnown ? "schneller Download mit 115200 Baud" : "Download mit 9600 Baud");

    ConsoleReport report;
    flashwizard::UpdateSequence sequence(port, link, hexLines, report);
    return sequence.Run() ? 0 : 1;
}

const quillon::CommandRegistration reg{
    "flash", "flash FILE.hex --port COMn",
    "Write FILE.hex into the Quillon in download mode (exit 0 once the new program runs)",
    runFlash};

}  // namespace
