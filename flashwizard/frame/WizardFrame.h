// The wizard frame's behaviour: which page is shown, what Next, Back and Cancel do on each
// step, and the state that outlives a page (link state, search and update outcome). The Qt
// window only shows what this class decides and forwards the pilot's clicks to it.
#pragma once

#include <atomic>
#include <string>

#include "flashwizard/core/LinkState.h"
#include "flashwizard/core/LoaderTiming.h"
#include "flashwizard/core/UpdateReport.h"
#include "flashwizard/frame/WizardMessages.h"
#include "flashwizard/frame/WizardState.h"
#include "seriallink/ComPorts.h"

namespace flashwizard {

inline constexpr int kPageCount = 6;
inline constexpr int kLastCancellablePage = 3;  // steps 1-4 may be left with a question
inline constexpr int kPortPage = 4;             // step 5
inline constexpr int kProgressPage = 5;         // step 6

// The two frame buttons the port page may switch.
class FrameButtons {
public:
    virtual ~FrameButtons() = default;
    virtual void EnableNext(bool enabled) = 0;
    virtual void EnableBack(bool enabled) = 0;
};

// What the frame does to its window.
class FrameView : public FrameButtons {
public:
    // Shows page index and hides the five others.
    virtual void ShowPage(int index) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void EnableCancel(bool enabled) = 0;
    virtual void SetNextText(const std::string& text) = 0;
    // The status line under the pages, used by the device search; shown at once, because the
    // search keeps the window busy.
    virtual void SetStatusLine(const std::string& text) = 0;
    // Ends the wizard with the cancel result.
    virtual void CloseWizard() = 0;
    // Starts the update on a worker thread of its own (which calls RunUpdate) and returns.
    virtual void StartUpdate() = 0;
};

class WizardFrame {
public:
    WizardFrame(WizardState& state, FrameView& view, WizardMessages& messages,
                const LoaderTiming& timing = LoaderTiming{},
                seriallink::PortEnumerator enumerate = {});

    // The window has been set up: step 1 is shown and the ports present now are remembered.
    void Init();

    void OnNext();
    void OnBack();
    // Cancel button, Escape and the close box.
    void OnCancel();

    void ShowPage(int index, bool backAllowed, bool nextEnabled);

    // The update sequence, as the worker thread runs it; every effect goes through report.
    bool RunUpdate(UpdateReport& report);
    // From Next on step 6 until RunUpdate returns.
    [[nodiscard]] bool updateRunning() const { return updateRunning_; }
    // Set on the user-interface thread on the worker's behalf when the update succeeded.
    void MarkUpdateDone() { updateDone_ = true; }

    [[nodiscard]] int pageIndex() const { return pageIndex_; }
    [[nodiscard]] bool updateDone() const { return updateDone_; }
    [[nodiscard]] bool searchFailed() const { return searchFailed_; }
    [[nodiscard]] LinkState& link() { return link_; }
    [[nodiscard]] const LoaderTiming& timing() const { return timing_; }

private:
    [[nodiscard]] bool CheckFirmwareFile();
    [[nodiscard]] bool TakePortSnapshot();
    [[nodiscard]] bool SearchDevice();
    [[nodiscard]] bool Enumerate(seriallink::ComPortList& ports) const;
    [[nodiscard]] bool AskToLeave(unsigned textId, unsigned captionId, bool warn);

    WizardState& state_;
    FrameView& view_;
    WizardMessages& messages_;
    LoaderTiming timing_;
    seriallink::PortEnumerator enumerate_;
    LinkState link_;
    int pageIndex_ = 0;
    bool updateDone_ = false;
    bool searchFailed_ = false;
    // Written by the worker when it ends, read by the cancel handler on the interface thread.
    std::atomic<bool> updateRunning_{false};
};

}  // namespace flashwizard
