// The wizard's main window on Win32: template IDD_WIZARD with its six step pages, the buttons
// "Abbrechen", "Weiter >" and "< Zurück" and the status line. WizardFrame decides; this window
// shows and forwards. The update runs on a worker thread whose reports are carried out here.
#pragma once

#include "shell/win32/Windows.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "flashwizard/core/LoaderTiming.h"
#include "flashwizard/frame/WizardFrame.h"
#include "flashwizard/win32/DialogProc.h"
#include "flashwizard/win32/WinMessages.h"
#include "flashwizard/win32/WinPages.h"

namespace flashwizard::win32 {

class WinUpdateReport;

// What the frame is given besides the shared state; the product uses the defaults.
struct WinWizardEnvironment {
    LoaderTiming timing{};
    seriallink::PortEnumerator enumerate{};  // empty: the system's ports
};

class WinWizardDlg : public FrameView {
public:
    WinWizardDlg(WizardState& state, HINSTANCE instance, WinWizardEnvironment environment = {});
    ~WinWizardDlg() override;
    WinWizardDlg(const WinWizardDlg&) = delete;
    WinWizardDlg& operator=(const WinWizardDlg&) = delete;

    // Shows the wizard and returns when it has been closed. Enter and Escape inside a page reach
    // only the control that has the focus: they neither hide the page nor leave the wizard.
    void RunModal();

    [[nodiscard]] HWND hwnd() const { return hwnd_; }
    [[nodiscard]] WizardFrame& logic() { return *logic_; }
    [[nodiscard]] Step6Page* progressPage() const { return progressPage_; }

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

    // Runs work on the window's thread and returns when it has run there.
    void OnUiThread(const std::function<void()>& work);

private:
    template <class Owner>
    friend INT_PTR CALLBACK ObjectDialogProc(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    [[nodiscard]] bool CreatePages();
    void AddAboutItem();
    void ShowAbout();
    void OnPaintMinimised();
    void EnableButton(int id, bool enabled);
    [[nodiscard]] bool IsInsidePage(HWND window) const;
    // Runs action now, or once the update worker has ended.
    void AfterWorker(std::function<void()> action);
    void OnWorkerEnded();

    WizardState& state_;
    HINSTANCE instance_;
    WinWizardEnvironment environment_;
    HWND hwnd_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    WinMessages messages_;
    std::unique_ptr<WizardFrame> logic_;
    std::array<std::unique_ptr<WinPage>, kPageCount> pages_;
    Step6Page* progressPage_ = nullptr;
    int shownPage_ = -1;
    bool closing_ = false;
    bool done_ = false;
    DWORD uiThread_ = 0;

    std::unique_ptr<WinUpdateReport> report_;
    std::thread worker_;
    std::atomic<bool> workerRunning_{false};
    std::function<void()> afterWorker_;
};

}  // namespace flashwizard::win32
