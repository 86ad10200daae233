#include "flashwizard/frame/WizardFrame.h"

#include <utility>
#include <vector>

#include "flashwizard/core/DeviceSearch.h"
#include "flashwizard/core/FirmwareCheck.h"
#include "flashwizard/core/UpdateSequence.h"
#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

namespace {

// Adapts the frame's window to the search's status line.
class FrameStatusLine : public StatusLine {
public:
    explicit FrameStatusLine(FrameView& view) : view_(view) {}
    void SetStatusLine(const std::string& text) override { view_.SetStatusLine(text); }

private:
    FrameView& view_;
};

}  // namespace

WizardFrame::WizardFrame(WizardState& state, FrameView& view, WizardMessages& messages,
                         const LoaderTiming& timing, seriallink::PortEnumerator enumerate)
    : state_(state),
      view_(view),
      messages_(messages),
      timing_(timing),
      enumerate_(std::move(enumerate)) {}

void WizardFrame::Init() {
    ShowPage(0, true, true);
    // Taken before the pilot plugs anything in: a port that shows up later is the instrument.
    (void)Enumerate(state_.portsAtStart);
}

void WizardFrame::ShowPage(int index, bool backAllowed, bool nextEnabled) {
    view_.EnableCancel(index <= kLastCancellablePage);
    view_.ShowPage(index);
    view_.EnableBack(index != 0 && backAllowed);
    view_.EnableNext(nextEnabled);
    view_.SetTitle(WizardText(kStrWindowTitle, {index + 1}));
}

void WizardFrame::OnNext() {
    switch (pageIndex_) {
        case 1:
            if (!CheckFirmwareFile()) return;
            break;
        case 2:
        case 3:
            if (!TakePortSnapshot()) return;
            break;
        case kPortPage:
            if (!SearchDevice()) return;
            view_.SetNextText(WizardText(kStrFinish));
            break;
        case kProgressPage:
            if (updateDone_) {
                view_.CloseWizard();
                return;
            }
            // Back goes too, not only Next: until the worker gets to disable it, Back would
            // show the port page while the worker owns the port.
            view_.EnableNext(false);
            view_.EnableBack(false);
            updateRunning_ = true;
            view_.StartUpdate();
            return;
        default:
            break;
    }
    ++pageIndex_;
    ShowPage(pageIndex_, pageIndex_ != kPortPage, true);
}

void WizardFrame::OnBack() {
    if (pageIndex_ == kProgressPage) view_.SetNextText(WizardText(kStrNext));
    if (pageIndex_ > 0) --pageIndex_;
    ShowPage(pageIndex_, pageIndex_ <= kLastCancellablePage, true);
}

void WizardFrame::OnCancel() {
    if (updateDone_) {
        view_.CloseWizard();
        return;
    }
    if (pageIndex_ <= kLastCancellablePage) {
        if (AskToLeave(kStrQuitQuestion, kStrQuitCaption, false)) view_.CloseWizard();
        return;
    }
    // While the worker runs it owns the port and the instrument: leaving would cut it short.
    if (updateRunning_) {
        ShowWizardError(&messages_, kStrCannotCancel);
        return;
    }
    // From step 5 on the instrument sits in download mode, after a failed update perhaps with an
    // erased program: the pilot may leave, but is warned, and No is the default.
    if (AskToLeave(kStrCancelQuestion, kStrAttentionCaption, true)) view_.CloseWizard();
}

bool WizardFrame::AskToLeave(unsigned textId, unsigned captionId, bool warn) {
    seriallink::MessageBoxRequest request;
    request.text = WizardText(textId);
    request.caption = WizardText(captionId);
    request.buttons = seriallink::MessageButtons::YesNo;
    if (!warn) return messages_.ShowMessageBox(request) == seriallink::MessageAnswer::Yes;
    request.icon = seriallink::MessageIcon::Exclamation;
    return messages_.AskDefaultNo(request) == seriallink::MessageAnswer::Yes;
}

bool WizardFrame::CheckFirmwareFile() {
    if (!flashwizard::CheckFirmwareFile(state_.firmwarePath, state_.hexLines, &messages_)) {
        return false;
    }
    // A file the wizard accepted is the one its file dialog offers next time.
    state_.lastFirmwarePath = state_.firmwarePath;
    return true;
}

bool WizardFrame::TakePortSnapshot() {
    if (!Enumerate(state_.portsAfterConnect)) {
        ShowWizardError(&messages_, kStrNoPortFound);
        return false;
    }
    return true;
}

bool WizardFrame::SearchDevice() {
    FrameStatusLine statusLine(view_);
    DeviceSearch search(*state_.port, link_, statusLine, &messages_, timing_);
    return search.Run(state_.portName, searchFailed_) == SearchOutcome::Found;
}

bool WizardFrame::Enumerate(seriallink::ComPortList& ports) const {
    if (enumerate_) {
        ports.clear();
        return enumerate_(ports);
    }
    return seriallink::EnumerateComPorts(ports);
}

bool WizardFrame::RunUpdate(UpdateReport& report) {
    UpdateSequence sequence(*state_.port, link_, state_.hexLines, report, timing_);
    const bool done = sequence.Run();
    updateRunning_ = false;
    return done;
}

}  // namespace flashwizard
