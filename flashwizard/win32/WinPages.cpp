#include "flashwizard/win32/WinPages.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/win32/resource.h"
#include "shell/win32/Text.h"

namespace flashwizard::win32 {

using shell::win32::Narrow;
using shell::win32::Widen;

namespace {

// The port page's refresh timer, the only timer of the page.
constexpr UINT_PTR kRefreshTimerId = 1;

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return Narrow(text);
}

}  // namespace

void TranslateTemplateTexts(HWND window, unsigned textsId) {
    const seriallink::StringTable& german = WizardStringsIn(seriallink::Language::German);
    if (&WizardStrings() == &german) return;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = WindowText(child);
        if (text.empty()) continue;
        for (std::size_t k = 0;; ++k) {
            const std::string part = PageTextIn(german, textsId, k);
            if (part.empty()) break;
            if (part != text) continue;
            ::SetWindowTextW(child, Widen(PageText(textsId, k)).c_str());
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------

WinPage::~WinPage() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool WinPage::Create(HINSTANCE instance, int templateId, HWND parent) {
    hwnd_ = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent,
                                 &ObjectDialogProc<WinPage>, reinterpret_cast<LPARAM>(this));
    if (hwnd_ == nullptr) return false;
    TranslateTemplateTexts(hwnd_, kStrWelcomePage + static_cast<unsigned>(templateId - IDD_STEP1));
    // The pages sit at the frame's top-left corner, as the templates are laid out for.
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void WinPage::SetItemText(int id, const std::string& text) const {
    ::SetWindowTextW(Item(id), Widen(text).c_str());
}

void WinPage::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    OnInitPage();
}

INT_PTR WinPage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // IDOK and IDCANCEL of a page do nothing: Enter or Escape must not hide the page.
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            OnTimer(wParam);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush =
                    OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return reinterpret_cast<INT_PTR>(brush);
            }
            return FALSE;
        default:
            return FALSE;
    }
}

// ---------------------------------------------------------------------------------------------

ColorStatic::ColorStatic()
    : background_(::GetSysColor(COLOR_BTNFACE)), brush_(::CreateSolidBrush(background_)) {}

ColorStatic::~ColorStatic() {
    if (brush_ != nullptr) ::DeleteObject(brush_);
}

void ColorStatic::SetBackgroundColor(COLORREF color) {
    background_ = color;
    HBRUSH old = brush_;
    brush_ = ::CreateSolidBrush(color);
    if (old != nullptr) ::DeleteObject(old);
    Redraw();
}

void ColorStatic::SetTextColor(COLORREF color) {
    text_ = color;
    Redraw();
}

HBRUSH ColorStatic::Colors(HDC dc) const {
    ::SetBkColor(dc, background_);
    ::SetTextColor(dc, text_);
    return brush_;
}

void ColorStatic::Redraw() const {
    // At once, not at the next paint: the label may change while the frame is busy.
    if (control_ != nullptr) {
        ::RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

// ---------------------------------------------------------------------------------------------

std::wstring OpenFileFilter(const std::string& filterText) {
    // The system wants the pairs separated by zeros and the list ended by two.
    std::wstring filter = Widen(filterText);
    while (!filter.empty() && filter.back() == L'|') filter.pop_back();
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    filter.append(2, L'\0');
    return filter;
}

void Step2Page::OnCommand(int id, int code) {
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        OnBrowse();
    } else if (id == IDC_PATH_EDIT && code == EN_CHANGE) {
        // Every change, typed or chosen, is the firmware path at once: Next checks what is shown.
        if (pathChanged_) pathChanged_(WindowText(Item(IDC_PATH_EDIT)));
    }
}

void Step2Page::OnBrowse() {
    const std::wstring title = Widen(WizardText(kStrBrowseTitle));
    const std::wstring filter = OpenFileFilter(WizardText(kStrBrowseFilter));
    std::vector<wchar_t> file(32768, L'\0');
    // The last accepted file, filled in: the dialog opens in its folder.
    const std::wstring start = Widen(startPath_ ? startPath_() : std::string());
    if (start.size() < file.size()) std::copy(start.begin(), start.end(), file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog)) return;
    // The edit's change notification sets the firmware path.
    ::SetWindowTextW(Item(IDC_PATH_EDIT), file.data());
}

// ---------------------------------------------------------------------------------------------

void Step4Page::OnInitPage() {
    attention_.Attach(Item(IDC_ATTENTION));
    attention_.SetTextColor(RGB(255, 0, 0));
}

HBRUSH Step4Page::OnColorStatic(HDC dc, HWND control) {
    return control == attention_.control() ? attention_.Colors(dc) : nullptr;
}

// ---------------------------------------------------------------------------------------------

Step5Page::Step5Page(WizardState& state, WizardMessages& messages, FrameButtons& frame,
                     seriallink::PortEnumerator enumerate)
    : logic_(state, *this, messages, frame, std::move(enumerate)) {}

void Step5Page::OnPageShown() {
    logic_.OnShown();
}

void Step5Page::OnPageHidden() {
    logic_.OnHidden();
}

void Step5Page::OnCommand(int id, int code) {
    // CBN_SELCHANGE comes only from the pilot; the page's own selections are stored by the logic.
    if (id == IDC_PORT_COMBO && code == CBN_SELCHANGE) logic_.OnSelectionChanged();
}

void Step5Page::OnTimer(UINT_PTR id) {
    if (id == kRefreshTimerId) logic_.OnTimer();
}

void Step5Page::OnInitPage() {
    combo_.SetWindow(Item(IDC_PORT_COMBO));
}

void Step5Page::Clear() {
    combo_.Clear();
}

void Step5Page::AddEntry(const std::string& text) {
    combo_.AddEntry(text);
}

int Step5Page::Count() const {
    return combo_.Count();
}

std::string Step5Page::EntryText(int index) const {
    return combo_.EntryText(index);
}

int Step5Page::CurrentIndex() const {
    return combo_.CurrentIndex();
}

void Step5Page::SetCurrentIndex(int index) {
    combo_.SetCurrentIndex(index);
}

void Step5Page::SetInfoText(const std::string& text) {
    SetItemText(IDC_PORT_INFO, text);
}

bool Step5Page::StartRefreshTimer(int periodMs) {
    return ::SetTimer(hwnd(), kRefreshTimerId, static_cast<UINT>(periodMs), nullptr) != 0;
}

void Step5Page::StopRefreshTimer() {
    ::KillTimer(hwnd(), kRefreshTimerId);
}

// ---------------------------------------------------------------------------------------------

void Step6Page::OnPageShown() {
    // Filled on every showing: the pilot may have gone back and chosen another port.
    SetItemText(IDC_FIRMWARE_PATH, pathSource_ ? pathSource_() : std::string());
    SetItemText(IDC_PORT_SENTENCE,
                seriallink::FormatText(WizardStrings().Load(kStrPortSentence),
                                       {portSource_ ? portSource_() : std::string()}));
}

void Step6Page::SetStatus(const std::string& text) {
    SetItemText(IDC_STATUS, text);
}

void Step6Page::SetProgress(int position, int total) {
    HWND bar = Item(IDC_PROGRESS);
    if (total != 0) ::SendMessageW(bar, PBM_SETRANGE32, 0, total);
    progress_.Set(position, total);
    SetItemText(IDC_COUNTER, progress_.Text());
    ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

}  // namespace flashwizard::win32
