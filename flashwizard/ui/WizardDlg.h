// The wizard's main window: six step pages, the buttons "Abbrechen", "Weiter >" and
// "< Zurück", and the status line. WizardFrame decides; this window shows and forwards.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "flashwizard/core/LoaderTiming.h"
#include "flashwizard/frame/WizardFrame.h"
#include "flashwizard/frame/WizardMessages.h"
#include "flashwizard/frame/WizardState.h"
#include "shell/qt/QtDialogUnits.h"

namespace flashwizard {

class QtMessages;
class QtUpdateReport;
class StepDlg;
class Step2Dlg;
class Step5Dlg;
class Step6Dlg;

// Control ids of the frame's template, kept as object names.
namespace control {
inline constexpr const char* kCancel = "1000";
inline constexpr const char* kNext = "1001";
inline constexpr const char* kBack = "1003";
inline constexpr const char* kStatusLine = "1010";
}  // namespace control

// What the frame is given besides the shared state; the product uses the defaults.
struct WizardEnvironment {
    WizardMessages* messages = nullptr;  // null: message boxes owned by the frame
    LoaderTiming timing{};
    seriallink::PortEnumerator enumerate{};  // empty: the system's ports
};

class WizardDlg : public QDialog, public FrameView {
    Q_OBJECT
public:
    explicit WizardDlg(WizardState& state, WizardEnvironment environment = {},
                       QWidget* parent = nullptr);
    ~WizardDlg() override;

    // False when the pages could not be made; the wizard has then told the pilot and closed.
    [[nodiscard]] bool pagesCreated() const { return pagesCreated_; }

    [[nodiscard]] WizardFrame& logic() { return *logic_; }
    [[nodiscard]] StepDlg* page(int index) const { return pages_.at(static_cast<size_t>(index)); }
    [[nodiscard]] Step2Dlg* fileStep() const;
    [[nodiscard]] Step5Dlg* portStep() const;
    [[nodiscard]] Step6Dlg* progressPage() const;
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }
    [[nodiscard]] QPushButton* nextButton() const { return next_; }
    [[nodiscard]] QPushButton* backButton() const { return back_; }
    [[nodiscard]] QLabel* statusLine() const { return statusLine_; }
    // True while the update worker runs.
    [[nodiscard]] bool updateRunning() const { return *workerRunning_; }

    // FrameView
    void ShowPage(int index) override;
    void SetTitle(const std::string& title) override;
    void EnableCancel(bool enabled) override;
    void EnableNext(bool enabled) override;
    void EnableBack(bool enabled) override;
    void SetNextText(const std::string& text) override;
    void SetStatusLine(const std::string& text) override;
    void CloseWizard() override;
    void StartUpdate() override;

public slots:
    // Escape: the cancel rules, never a plain close.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreatePages();
    // The About item: in the window's context menu and on F1, as the system menu has it on
    // Windows.
    void AddAboutItem();
    void ShowAbout();
    // Runs action now, or once the update worker has ended.
    void AfterWorker(std::function<void()> action);
    void OnWorkerPoll();

    WizardState& state_;
    WizardEnvironment environment_;
    std::unique_ptr<QtMessages> ownMessages_;
    WizardMessages* messages_;
    shell::QtDialogUnits units_;
    std::unique_ptr<WizardFrame> logic_;
    std::array<StepDlg*, kPageCount> pages_{};
    int shownPage_ = -1;
    QPushButton* cancel_;
    QPushButton* next_;
    QPushButton* back_;
    QLabel* statusLine_;
    bool pagesCreated_ = false;
    bool closing_ = false;

    std::unique_ptr<QtUpdateReport> report_;
    QTimer workerPoll_;
    std::function<void()> afterWorker_;
    std::thread worker_;
    // Shared with the worker, which sets it last, after it is done with this window.
    std::shared_ptr<std::atomic<bool>> workerRunning_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace flashwizard
