#include "flashwizard/frame/PortPage.h"

#include <utility>

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

PortPage::PortPage(WizardState& state, PortPageView& view, WizardMessages& messages,
                   FrameButtons& frame, seriallink::PortEnumerator enumerate)
    : state_(state),
      view_(view),
      messages_(messages),
      frame_(frame),
      enumerate_(std::move(enumerate)) {}

void PortPage::OnShown() {
    // Every showing starts from the ports seen when steps 3 and 4 were left, so coming back from
    // step 6 preselects as the first arrival did.
    shownPorts_ = state_.portsAfterConnect;
    seriallink::FillPortCombo(view_, shownPorts_);
    MakeOpeningSelection();
    StoreSelection();

    timerRunning_ = view_.StartRefreshTimer(kPortRefreshMs);
    if (!timerRunning_) {
        seriallink::MessageBoxRequest request;
        request.text = WizardText(kStrNoTimer);
        request.caption = kApplicationName;
        request.icon = seriallink::MessageIcon::Stop;
        messages_.ShowMessageBox(request);
    }
}

void PortPage::MakeOpeningSelection() {
    if (shownPorts_.size() == 1) {
        view_.SetCurrentIndex(0);
        return;
    }
    seriallink::ComPortList added;
    seriallink::ComPortList removed;
    seriallink::ComPortList common;
    seriallink::ComparePortLists(state_.portsAtStart, state_.portsAfterConnect, added, removed,
                                 common);
    if (!added.empty()) {
        seriallink::SelectPortInCombo(view_, added.front());
        if (added.size() == 1) {
            view_.SetInfoText(WizardText(kStrOneNewPortInfo));
        } else {
            view_.SetInfoText(seriallink::FormatText(
                WizardStrings().Load(kStrNewPortsInfo),
                {static_cast<long long>(added.size()), seriallink::JoinPortNames(added)}));
        }
        return;
    }
    if (state_.portName.empty() || !seriallink::SelectPrefixInCombo(view_, state_.portName)) {
        view_.SetCurrentIndex(0);
    }
}

void PortPage::OnHidden() {
    if (timerRunning_) {
        view_.StopRefreshTimer();
        timerRunning_ = false;
    }
    StoreSelection();
}

void PortPage::OnSelectionChanged() {
    StoreSelection();
}

void PortPage::OnTimer() {
    const seriallink::ComPortList before = shownPorts_;
    seriallink::RefreshPortCombo(*this, view_, shownPorts_, enumerate_);
    if (shownPorts_ != before && view_.Count() > 0) StoreSelection();
}

void PortPage::StoreSelection() {
    // With an empty list the last name stays: it is what the profile should keep.
    if (view_.Count() == 0 || view_.CurrentIndex() < 0) return;
    state_.portName = view_.EntryText(view_.CurrentIndex());
}

seriallink::MessageAnswer PortPage::ShowMessageBox(const seriallink::MessageBoxRequest& request) {
    return messages_.ShowMessageBox(request);
}

std::string PortPage::RememberedPortName() const {
    return state_.portName;
}

void PortPage::EnableNextButton(bool enable) {
    frame_.EnableNext(enable);
}

void PortPage::EnableBackButton(bool enable) {
    frame_.EnableBack(enable);
}

}  // namespace flashwizard
