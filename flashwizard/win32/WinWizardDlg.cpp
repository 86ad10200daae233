#include "flashwizard/win32/WinWizardDlg.h"

#include <new>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/win32/WinUpdateReport.h"
#include "flashwizard/win32/resource.h"
#include "shell/win32/LanguageCombo.h"
#include "shell/win32/RegistryProfileStore.h"
#include "shell/win32/ResourceStrings.h"
#include "shell/win32/Text.h"

namespace flashwizard::win32 {

using shell::win32::Widen;

namespace {

// A piece of work sent by the worker; lParam points at a std::function<void()>.
constexpr UINT kMsgRunOnUi = WM_APP + 1;
// Posted by the worker as its very last act.
constexpr UINT kMsgWorkerEnded = WM_APP + 2;

// The About box: page 1's first line, and the language list.
INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            ::SetDlgItemTextW(window, IDC_ABOUT_TEXT, Widen(PageText(kStrWelcomePage, 0)).c_str());
            ::SetDlgItemTextW(window, IDC_LANGUAGE_LABEL,
                              Widen(WizardText(kStrLanguageLabel)).c_str());
            shell::win32::FillLanguageCombo(
                ::GetDlgItem(window, IDC_LANGUAGE),
                shell::LanguageChoice(nullptr, WizardStrings().language()));
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_LANGUAGE && HIWORD(wParam) == CBN_SELCHANGE) {
                const auto picked =
                    shell::win32::PickedLanguage(::GetDlgItem(window, IDC_LANGUAGE));
                shell::win32::RegistryProfileStore profile(WizardText(kStrCompanyKey),
                                                           kApplicationName);
                shell::LanguageChoice choice(&profile, WizardStrings().language());
                if (picked && choice.OnChosen(*picked)) {
                    ::MessageBoxW(window, Widen(WizardText(kStrLanguageNote)).c_str(),
                                  Widen(kApplicationName).c_str(), MB_OK | MB_ICONINFORMATION);
                }
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

WinWizardDlg::WinWizardDlg(WizardState& state, HINSTANCE instance, WinWizardEnvironment environment)
    : state_(state), instance_(instance), environment_(std::move(environment)) {
    logic_ = std::make_unique<WizardFrame>(state_, *this, messages_, environment_.timing,
                                           environment_.enumerate);
}

WinWizardDlg::~WinWizardDlg() {
    if (worker_.joinable()) {
        // The window closes only after the worker has ended (AfterWorker); a worker still busy
        // here means the process is being torn down around it, and joining could wait for ever.
        if (workerRunning_) {
            worker_.detach();
        } else {
            worker_.join();
        }
    }
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
    if (icon_ != nullptr) ::DestroyIcon(icon_);
    if (smallIcon_ != nullptr) ::DestroyIcon(smallIcon_);
}

void WinWizardDlg::RunModal() {
    hwnd_ = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_WIZARD), nullptr,
                                 &ObjectDialogProc<WinWizardDlg>, reinterpret_cast<LPARAM>(this));
    if (hwnd_ == nullptr) return;
    if (!done_) ::ShowWindow(hwnd_, SW_SHOW);
    MSG msg;
    while (!done_ && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool key = msg.message == WM_KEYDOWN || msg.message == WM_CHAR;
        const bool enterOrEscape = key && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
        // Enter does nothing in the wizard, and Escape inside a page only reaches the control
        // (a dropped-down port list closes); anywhere else Escape is the frame's cancel.
        const bool toControlOnly =
            enterOrEscape && (msg.wParam == VK_RETURN || IsInsidePage(msg.hwnd));
        if (toControlOnly || !::IsDialogMessageW(hwnd_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void WinWizardDlg::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    OnInitDialog();
}

INT_PTR WinWizardDlg::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDCANCEL:  // Escape
                case IDC_CANCEL_BUTTON:
                    if (!closing_) logic_->OnCancel();
                    return TRUE;
                case IDC_NEXT:
                    logic_->OnNext();
                    return TRUE;
                case IDC_BACK:
                    logic_->OnBack();
                    return TRUE;
                default:  // IDOK (Enter) among them: nothing
                    return TRUE;
            }
        case WM_CLOSE:
            if (!closing_) logic_->OnCancel();
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
                ShowAbout();
                return TRUE;
            }
            return FALSE;
        case WM_PAINT:
            if (!::IsIconic(hwnd_)) return FALSE;
            OnPaintMinimised();
            return TRUE;
        case WM_QUERYDRAGICON:
            ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon_));
            return TRUE;
        case kMsgRunOnUi:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return TRUE;
        case kMsgWorkerEnded:
            OnWorkerEnded();
            return TRUE;
        default:
            return FALSE;
    }
}

void WinWizardDlg::OnInitDialog() {
    uiThread_ = ::GetCurrentThreadId();
    messages_.SetOwner(hwnd_);
    icon_ = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_FLASHWIZARD),
                                            IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                            ::GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_FLASHWIZARD),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    AddAboutItem();
    // The frame's template speaks German; Next takes its text from the table like the logic.
    ::SetDlgItemTextW(hwnd_, IDC_CANCEL_BUTTON, Widen(PageText(kStrFrameButtons, 0)).c_str());
    ::SetDlgItemTextW(hwnd_, IDC_BACK, Widen(PageText(kStrFrameButtons, 1)).c_str());
    ::SetDlgItemTextW(hwnd_, IDC_NEXT, Widen(WizardText(kStrNext)).c_str());
    if (!CreatePages()) {
        // Nothing to ask: without its pages the wizard cannot go on.
        ShowWizardError(&messages_, kStrNoMemory);
        closing_ = true;
        done_ = true;
        return;
    }
    report_ = std::make_unique<WinUpdateReport>(*this, *progressPage_, messages_);
    logic_->Init();
}

bool WinWizardDlg::CreatePages() {
    try {
        pages_[0] = std::make_unique<WinPage>();
        pages_[1] = std::make_unique<Step2Page>(
            [this](const std::string& path) { state_.firmwarePath = path; },
            [this] { return state_.lastFirmwarePath; });
        pages_[2] = std::make_unique<WinPage>();
        pages_[3] = std::make_unique<Step4Page>();
        pages_[4] = std::make_unique<Step5Page>(state_, messages_, *this, environment_.enumerate);
        auto progress = std::make_unique<Step6Page>([this] { return state_.firmwarePath; },
                                                    [this] { return state_.portName; });
        progressPage_ = progress.get();
        pages_[5] = std::move(progress);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int i = 0; i < kPageCount; ++i) {
        if (!pages_[static_cast<size_t>(i)]->Create(instance_, IDD_STEP1 + i, hwnd_)) return false;
    }
    return true;
}

void WinWizardDlg::AddAboutItem() {
    HMENU menu = ::GetSystemMenu(hwnd_, FALSE);
    const std::string item = WizardText(kStrAboutItem);
    if (menu == nullptr || item.empty()) return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, Widen(item).c_str());
}

void WinWizardDlg::ShowAbout() {
    ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUT), hwnd_, &AboutProc, 0);
}

void WinWizardDlg::OnPaintMinimised() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd_, &paint);
    ::SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(hwnd_, &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon_);
    ::EndPaint(hwnd_, &paint);
}

bool WinWizardDlg::IsInsidePage(HWND window) const {
    for (const auto& page : pages_) {
        if (page && (page->hwnd() == window || ::IsChild(page->hwnd(), window))) return true;
    }
    return false;
}

void WinWizardDlg::ShowPage(int index) {
    if (index == shownPage_) return;
    // Hide first: the port page stops its timer and stores its choice before step 6 reads it.
    if (shownPage_ >= 0) {
        WinPage& old = *pages_[static_cast<size_t>(shownPage_)];
        ::ShowWindow(old.hwnd(), SW_HIDE);
        old.OnPageHidden();
    }
    shownPage_ = index;
    WinPage& page = *pages_[static_cast<size_t>(index)];
    ::ShowWindow(page.hwnd(), SW_SHOW);
    page.OnPageShown();
}

void WinWizardDlg::SetTitle(const std::string& title) {
    ::SetWindowTextW(hwnd_, Widen(title).c_str());
}

void WinWizardDlg::EnableButton(int id, bool enabled) {
    HWND button = ::GetDlgItem(hwnd_, id);
    // A disabled control keeps no focus; without this the keyboard would reach nothing.
    if (!enabled && ::GetFocus() == button) ::SendMessageW(hwnd_, WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(button, enabled ? TRUE : FALSE);
}

void WinWizardDlg::EnableCancel(bool enabled) {
    EnableButton(IDC_CANCEL_BUTTON, enabled);
}

void WinWizardDlg::EnableNext(bool enabled) {
    EnableButton(IDC_NEXT, enabled);
}

void WinWizardDlg::EnableBack(bool enabled) {
    EnableButton(IDC_BACK, enabled);
}

void WinWizardDlg::SetNextText(const std::string& text) {
    ::SetDlgItemTextW(hwnd_, IDC_NEXT, Widen(text).c_str());
}

void WinWizardDlg::SetStatusLine(const std::string& text) {
    ::SetDlgItemTextW(hwnd_, IDC_FRAME_STATUS, Widen(text).c_str());
    // The device search keeps the thread busy; paint now, or the pilot sees nothing until it ends.
    ::UpdateWindow(::GetDlgItem(hwnd_, IDC_FRAME_STATUS));
}

void WinWizardDlg::CloseWizard() {
    if (closing_) return;
    closing_ = true;
    // After the update succeeded the worker may still be showing its last box or setting the
    // buttons; the window it reports to must outlive that.
    AfterWorker([this] {
        done_ = true;
        ::PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the message loop to see done_
    });
}

void WinWizardDlg::StartUpdate() {
    AfterWorker([this] {
        workerRunning_ = true;
        // Nothing waits for the worker: it reports through report_, each call done here.
        worker_ = std::thread([this] {
            (void)logic_->RunUpdate(*report_);
            workerRunning_ = false;
            ::PostMessageW(hwnd_, kMsgWorkerEnded, 0, 0);
        });
    });
}

void WinWizardDlg::OnUiThread(const std::function<void()>& work) {
    // Called on the window's own thread, a sent message would only run it the same way.
    if (::GetCurrentThreadId() == uiThread_) {
        work();
        return;
    }
    ::SendMessageW(hwnd_, kMsgRunOnUi, 0, reinterpret_cast<LPARAM>(&work));
}

void WinWizardDlg::AfterWorker(std::function<void()> action) {
    // Next and the close come back with the worker's last reports, so a run is at most finishing
    // them, and they wait for this thread: the action waits for the worker's end message.
    if (workerRunning_) {
        afterWorker_ = std::move(action);
        return;
    }
    if (worker_.joinable()) worker_.join();
    action();
}

void WinWizardDlg::OnWorkerEnded() {
    if (workerRunning_) return;
    if (worker_.joinable()) worker_.join();
    std::function<void()> action = std::move(afterWorker_);
    afterWorker_ = nullptr;
    if (action) action();
}

}  // namespace flashwizard::win32
