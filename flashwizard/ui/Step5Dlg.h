// Step 5, the port page: the Qt side of PortPage. It shows the port list and the information
// line, runs the one-second refresh timer while shown and forwards the pilot's choice.
#pragma once

#include <QComboBox>
#include <memory>

#include "flashwizard/frame/PortPage.h"
#include "flashwizard/ui/StepPages.h"

namespace flashwizard {

class Step5Dlg : public StepDlg, public PortPageView {
    Q_OBJECT
public:
    Step5Dlg(QWidget* parent, WizardState& state, WizardMessages& messages, FrameButtons& frame,
             seriallink::PortEnumerator enumerate = {});

    void OnPageShown() override;
    void OnPageHidden() override;

    [[nodiscard]] PortPage& logic() { return *logic_; }
    [[nodiscard]] QComboBox* combo() const { return combo_; }
    [[nodiscard]] QLabel* info() const { return info_; }

    // PortPageView
    void Clear() override;
    void AddEntry(const std::string& text) override;
    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string EntryText(int index) const override;
    [[nodiscard]] int CurrentIndex() const override;
    void SetCurrentIndex(int index) override;
    void SetInfoText(const std::string& text) override;
    [[nodiscard]] bool StartRefreshTimer(int periodMs) override;
    void StopRefreshTimer() override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QComboBox* combo_;
    QLabel* info_;
    int timerId_ = 0;
    std::unique_ptr<PortPage> logic_;
};

}  // namespace flashwizard
