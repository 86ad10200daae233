#include "flashwizard/core/UpdateSequence.h"

#include <cstdio>

#include "flashwizard/core/WizardStrings.h"
#include "seriallink/SerialPort.h"

namespace flashwizard {

std::string ProgressCounter::Text() const {
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d", position_, total_);
    return text;
}

UpdateSequence::UpdateSequence(seriallink::SerialPort& port, LinkState& link,
                               const std::vector<std::string>& hexLines, UpdateReport& report,
                               const LoaderTiming& timing)
    : port_(port),
      link_(link),
      hexLines_(hexLines),
      report_(report),
      timing_(timing),
      loader_(port, link, timing_) {}

template <typename Operation>
bool UpdateSequence::RunStep(const Step& step, Operation operation) {
    for (int attempt = 1; attempt <= kMaxStepAttempts; ++attempt) {
        if (attempt == 1) {
            report_.SetStatus(step.firstText, {});
        } else {
            report_.SetStatus(step.laterText, {attempt});
        }
        if (operation()) return true;
        port_.Sleep(timing_.stepPause);
    }
    return false;
}

bool UpdateSequence::RunPass(int pass) {
    static constexpr Step kReset{kStrResetFirst, kStrResetLater};
    static constexpr Step kFastMode{kStrFastFirst, kStrFastLater};
    static constexpr Step kErase{kStrEraseFirst, kStrEraseLater};
    static constexpr Step kSlowMode{kStrSlowFirst, kStrSlowLater};
    static constexpr Step kDisable{kStrDisableFirst, kStrDisableLater};
    static constexpr Step kStart{kStrStartFirst, kStrStartLater};

    // An identification resets the loader, so every pass starts from a known loader state.
    if (!RunStep(kReset, [&] { return loader_.IdentifyLoader() == kLoaderFound; })) {
        port_.Sleep(timing_.passPause);
        return false;
    }
    if (link_.chipKnown && !RunStep(kFastMode, [&] { return loader_.SetLoaderRate(kFastBaud); })) {
        // Slower but still sound: the rest of this pass stays at the rate the link has.
        link_.chipKnown = false;
    }
    if (!RunStep(kErase, [&] { return loader_.EraseProgram(); })) {
        port_.Sleep(timing_.passPause);
        return false;
    }
    if (!DownloadLines(hexLines_, pass)) {
        port_.Sleep(timing_.passPause);
        return false;
    }
    if (link_.chipKnown && link_.fastRate) {
        (void)RunStep(kSlowMode, [&] { return loader_.SetLoaderRate(kSlowBaud); });
    }
    if (link_.chipKnown && link_.fastRate) {
        // Still fast: the loader must let go of the line before the program can take it over.
        (void)RunStep(kDisable, [&] { return loader_.DisableLoader(); });
    }
    if (!RunStep(kStart, [&] { return loader_.RunProgram(); })) {
        port_.Sleep(timing_.passPause);
        return false;
    }
    return true;
}

bool UpdateSequence::Run() {
    report_.EnableNext(false);
    report_.EnableBack(false);
    report_.SetProgress(0, static_cast<int>(hexLines_.size()));
    // From here on the exchanges leave the port open: the rate switches depend on it.
    port_.SetKeepOpen(true);

    bool started = false;
    for (int pass = 1; pass <= kMaxPasses && !started; ++pass) started = RunPass(pass);

    if (started) {
        (void)port_.Close();
        report_.SetUpdateDone();
        report_.SetStatus(kStrUpdateDone, {});
        report_.ShowMessage(kStrUpdateDone);
        report_.SetNextText(kStrClose);
        report_.EnableNext(true);
        return true;
    }
    report_.SetStatus(kStrDownloadFailed, {});
    report_.ShowError(kStrUpdateFailedBox);
    // The port stays open and fastRate keeps its value, so a repeat starts from the real link.
    report_.SetNextText(kStrRepeat);
    report_.EnableNext(true);
    report_.EnableBack(true);
    return false;
}

void UpdateSequence::ShowDownloadTitle(int pass) {
    if (pass == 1) {
        report_.SetStatus(kStrDownload, {});
    } else {
        report_.SetStatus(kStrDownloadPass, {pass});
    }
}

bool UpdateSequence::DownloadLines(std::vector<std::string> lines, int pass) {
    ShowDownloadTitle(pass);
    int lineNumber = 0;
    for (const std::string& line : lines) {
        ++lineNumber;
        report_.SetProgress(lineNumber, 0);
        // The end record is counted, so the counter reaches its total, but the loader has no
        // command for it.
        if (line == kEndRecord) continue;
        Bytes packet;
        if (!RecordPacket(line, packet)) return false;
        bool written = false;
        int attempt = 1;
        for (; attempt <= kMaxRecordAttempts; ++attempt) {
            if (attempt > 1) report_.SetStatus(kStrDownloadRecord, {attempt, lineNumber});
            if (loader_.WriteRecord(packet)) {
                written = true;
                break;
            }
            port_.Sleep(timing_.recordPause);
        }
        if (!written) return false;
        if (attempt > 1) ShowDownloadTitle(pass);
    }
    return true;
}

}  // namespace flashwizard
