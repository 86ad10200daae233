// quillon flash FILE.hex --port NAME: the Downloader's firmware update without the wizard.
//
// It runs the wizard's own steps: the file check of the file page, the loader search of the port
// page, and the update sequence of the progress page, with the same texts (English, or the
// wizard's German under a German locale).

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
#include "tools/quillon/flash_texts.h"
#include "tools/quillon/input.h"
#include "tools/quillon/json.h"
#include "tools/quillon/ports.h"
#include "tools/quillon/terminal.h"
#include "tools/quillon/texts.h"

namespace {

using flashwizard::WizardText;

constexpr int kBarWidth = 40;
constexpr int kLogSteps = 10;  // without a terminal, one progress line per 10 %

// Message boxes become lines on standard error; the last one is kept for the outcome.
class ConsoleMessages : public seriallink::MessageOwner {
public:
    seriallink::MessageAnswer ShowMessageBox(
        const seriallink::MessageBoxRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        std::fflush(stderr);
        last = request.text;
        return request.buttons == seriallink::MessageButtons::Ok ? seriallink::MessageAnswer::Ok
                                                                 : seriallink::MessageAnswer::No;
    }
    std::string last;
};

// Where the progress lines go: standard output, or nowhere with -q and --json.
bool showProgress() {
    return !quillon::settings().quiet() && !quillon::settings().json;
}

class ConsoleStatusLine : public flashwizard::StatusLine {
public:
    void SetStatusLine(const std::string& text) override {
        if (text.empty() || !showProgress()) return;
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
};

// The progress page on a terminal: one line with bar, counter and status, rewritten in place.
// Without a terminal (a log file, a pipe) a line is written when the status changes and each
// time the bar has moved on by a tenth.
class ConsoleReport : public flashwizard::UpdateReport {
public:
    ConsoleReport() : interactive_(quillon::stdoutIsTerminal()), shown_(showProgress()) {}

    void SetStatus(unsigned id, const std::vector<int>& numbers) override {
        status_ = WizardText(id, numbers);
        if (!shown_) return;
        if (interactive_) {
            Redraw();
        } else {
            std::printf("%7s  %s\n", counter_.Text().c_str(), status_.c_str());
            std::fflush(stdout);
        }
    }
    void SetProgress(int position, int total) override {
        counter_.Set(position, total);
        if (!shown_) return;
        if (interactive_) {
            Redraw();
            return;
        }
        const int all = counter_.total();
        if (all <= 0) return;
        const int step = counter_.position() * kLogSteps / all;
        if (counter_.position() == 0 || step < loggedStep_) loggedStep_ = 0;  // a new pass
        if (step > loggedStep_) {
            loggedStep_ = step;
            std::printf("%7s  %3d %%\n", counter_.Text().c_str(), step * 100 / kLogSteps);
            std::fflush(stdout);
        }
    }
    void SetNextText(unsigned) override {}
    void EnableNext(bool) override {}
    void EnableBack(bool) override {}
    void SetUpdateDone() override {}
    void ShowError(unsigned id) override {
        lastMessage = WizardText(id);
        Announce(flashwizard::kStrErrorCaption, id);
    }
    void ShowMessage(unsigned id) override {
        lastMessage = WizardText(id);
        // A log already has the outcome as its last status line.
        if (shown_ && (interactive_ || WizardText(id) != status_)) Announce(0, id);
    }

    std::string lastMessage;

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
    bool shown_;
    bool lineOpen_ = false;
    int loggedStep_ = 0;
    std::string status_;
    flashwizard::ProgressCounter counter_;
};

struct FlashOutcome {
    std::string file;
    std::string port;
    std::string stage;  // "file", "port", "search", "update"
    bool ok = false;
    std::string message;
    seriallink::HexVerdict verdict;
    std::size_t records = 0;
    unsigned chip = 0;
};

int finish(const FlashOutcome& outcome) {
    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(outcome.file).key("port").value(outcome.port);
        json.key("ok").value(outcome.ok).key("stage").value(outcome.stage);
        json.key("message").value(outcome.message);
        if (!outcome.verdict.ok()) {
            json.key("problem").value(quillon::hexProblemKey(outcome.verdict.problem));
            json.key("line").value(outcome.verdict.line);
        }
        json.key("records").value(outcome.records);
        if (outcome.chip != 0) json.key("chip").value(outcome.chip);
        json.endObject();
    }
    return outcome.ok ? quillon::kExitOk : quillon::kExitFailure;
}

int runFlash(const std::vector<std::string>& args) {
    const std::string usage = quillon::text("usage: quillon flash FILE.hex --port NAME",
                                            "Aufruf: quillon flash DATEI.hex --port NAME",
                                            "usage : quillon flash FICHIER.hex --port NOM");
    FlashOutcome outcome;
    std::string given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--port" && i + 1 < args.size()) {
            given = args[++i];
        } else if (outcome.file.empty() && !args[i].empty() && args[i][0] != '-') {
            outcome.file = args[i];
        } else {
            return quillon::usageError("flash", usage);
        }
    }
    if (outcome.file.empty() || given.empty()) return quillon::usageError("flash", usage);
    if (!quillon::resolvePortArgument(given, outcome.port)) {
        return quillon::usageError("flash", quillon::portArgumentRefusal());
    }
    quillon::useFlashTexts();

    ConsoleMessages messages;
    std::vector<std::string> hexLines;
    outcome.stage = "file";
    if (!flashwizard::CheckFirmwareFile(outcome.file, hexLines, &messages, &outcome.verdict)) {
        // The wizard's box says that the file is no good; the reader knows where and why.
        if (!outcome.verdict.ok() &&
            outcome.verdict.problem != seriallink::HexProblem::CannotOpen) {
            (void)quillon::fail(outcome.file + ": " + quillon::hexProblemText(outcome.verdict));
        }
        outcome.message = messages.last;
        return finish(outcome);
    }
    outcome.records = hexLines.size();

    seriallink::SerialPort port;
    flashwizard::LinkState link;
    ConsoleStatusLine statusLine;
    flashwizard::DeviceSearch search(port, link, statusLine, &messages);
    bool searchFailed = false;
    const flashwizard::SearchOutcome found = search.Run(outcome.port, searchFailed);
    if (found != flashwizard::SearchOutcome::Found) {
        outcome.stage = found == flashwizard::SearchOutcome::PortNotOpened ? "port" : "search";
        if (found == flashwizard::SearchOutcome::PortNotOpened) {
            (void)quillon::fail(
                quillon::openFailureText(given, outcome.port, port.LastOpenStatus()));
        }
        outcome.message = messages.last;
        return finish(outcome);
    }
    outcome.chip = link.chipModel;
    if (showProgress()) {
        std::printf("Loader ADI %u, %s\n", link.chipModel,
                    link.chipKnown
                        ? quillon::text("fast download at 115200 baud",
                                        "schneller Download mit 115200 Baud",
                                        "téléchargement rapide à 115200 bauds")
                              .c_str()
                        : quillon::text("download at 9600 baud", "Download mit 9600 Baud",
                                        "téléchargement à 9600 bauds")
                              .c_str());
    }

    outcome.stage = "update";
    ConsoleReport report;
    flashwizard::UpdateSequence sequence(port, link, hexLines, report);
    outcome.ok = sequence.Run();
    outcome.message = report.lastMessage;
    return finish(outcome);
}

}  // namespace

quillon::Command quillon::flashCommand() {
    return {"flash",
            "flash FILE.hex --port NAME",
            text("Write FILE.hex into the Quillon in download mode, as the Downloader wizard does "
                 "(exit 0 once the new program runs)",
                 "DATEI.hex wie der Downloader-Assistent in den Quillon im Downloadmodus "
                 "schreiben (Rückgabe 0, sobald das neue Programm läuft)",
                 "Écrire FICHIER.hex dans le Quillon en mode téléchargement, comme le Downloader "
                 "(code 0 dès que le nouveau programme tourne)"),
            runFlash,
            {{"--port NAME", portOptionHelp()}},
            {"quillon flash quillon-2.4.hex --port COM33",
             "quillon flash quillon-2.4.hex --port /dev/ttyUSB0 > flash.log",
             "quillon flash quillon-2.4.hex --port COM3 --json"},
            Json::Yes};
}
