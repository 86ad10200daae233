// Step 5's behaviour: choosing the COM port the Quillon is connected to. The page preselects a
// port that appeared while the pilot connected the cable, follows ports that come and go once a
// second while it is shown, and keeps the chosen name in the shared portName.
#pragma once

#include <string>

#include "flashwizard/frame/WizardFrame.h"
#include "flashwizard/frame/WizardMessages.h"
#include "flashwizard/frame/WizardState.h"
#include "seriallink/ComPorts.h"

namespace flashwizard {

inline constexpr int kPortRefreshMs = 1000;

// The page's controls as the logic sees them: the port list (1008), the information line
// (1009) and the refresh timer.
class PortPageView : public seriallink::PortComboBox {
public:
    virtual void SetInfoText(const std::string& text) = 0;
    // Starts the refresh timer; false when the system has none to give.
    [[nodiscard]] virtual bool StartRefreshTimer(int periodMs) = 0;
    virtual void StopRefreshTimer() = 0;
};

class PortPage : public seriallink::WizardScanDialog {
public:
    PortPage(WizardState& state, PortPageView& view, WizardMessages& messages, FrameButtons& frame,
             seriallink::PortEnumerator enumerate = {});

    void OnShown();
    void OnHidden();
    // The pilot picked an entry.
    void OnSelectionChanged();
    void OnTimer();

    [[nodiscard]] const seriallink::ComPortList& shownPorts() const { return shownPorts_; }
    [[nodiscard]] bool timerRunning() const { return timerRunning_; }

    // What the new-port scan needs of the page.
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& request) override;
    [[nodiscard]] std::string RememberedPortName() const override;
    void EnableNextButton(bool enable) override;
    void EnableBackButton(bool enable) override;

private:
    void MakeOpeningSelection();
    void StoreSelection();

    WizardState& state_;
    PortPageView& view_;
    WizardMessages& messages_;
    FrameButtons& frame_;
    seriallink::PortEnumerator enumerate_;
    seriallink::ComPortList shownPorts_;
    bool timerRunning_ = false;
};

}  // namespace flashwizard
