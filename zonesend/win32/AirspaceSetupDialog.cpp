#include "zonesend/win32/AirspaceSetupDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "shell/win32/DialogUnits.h"
#include "shell/win32/Text.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/Strings.h"
#include "zonesend/win32/GdiMap.h"
#include "zonesend/win32/GdiPreview.h"
#include "zonesend/win32/SelectionDialog.h"
#include "zonesend/win32/resource.h"

namespace zonesend::win32 {

namespace {

using shell::win32::Narrow;
using shell::win32::Widen;

constexpr int kListPointSize = 8;
constexpr const wchar_t* kListFace = L"Lucida Console";
constexpr std::size_t kPathCapacity = 32768;
constexpr LONG_PTR kSelf = DWLP_USER;

HINSTANCE programInstance() {
    return GetModuleHandleW(nullptr);
}

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" as the open-file dialog's list of pairs,
// each part ended by a zero and the list by two.
std::wstring fileDialogFilter(const std::string& filter) {
    std::wstring wide = Widen(filter);
    for (wchar_t& c : wide) {
        if (c == L'|') c = L'\0';
    }
    wide.push_back(L'\0');
    return wide;
}

// A point font of the given size the way the dialog's own device context sizes it.
HFONT createPointFont(int pointSize, const wchar_t* face) {
    LOGFONTW font{};
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

// Whether the font mapper gave the face asked for, at a fixed pitch: a missing face is
// replaced silently, by a proportional one where the system has no better match.
bool isFixedFace(HFONT font, const wchar_t* face) {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, chosen);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    // TMPF_FIXED_PITCH set means a variable pitch.
    return (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0 && lstrcmpiW(chosen, face) == 0;
}

}  // namespace

AirspaceSetupDialog::AirspaceSetupDialog(AirspaceSetupApp& app, Options options)
    : app_(app), options_(std::move(options)) {}

AirspaceSetupDialog::~AirspaceSetupDialog() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (preview_) DeleteObject(preview_);
    if (listFont_) DeleteObject(listFont_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

INT_PTR AirspaceSetupDialog::RunModal(HWND parent) {
    modal_ = true;
    return DialogBoxParamW(programInstance(), MAKEINTRESOURCEW(IDD_ZONESEND_MAIN), parent,
                           &AirspaceSetupDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND AirspaceSetupDialog::CreateModeless(HWND parent) {
    modal_ = false;
    HWND created =
        CreateDialogParamW(programInstance(), MAKEINTRESOURCEW(IDD_ZONESEND_MAIN), parent,
                           &AirspaceSetupDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (created) ShowWindow(created, SW_SHOW);
    return created;
}

INT_PTR CALLBACK AirspaceSetupDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<AirspaceSetupDialog*>(lParam);
        SetWindowLongPtrW(window, kSelf, lParam);
        self->window_ = window;
    }
    auto* self = reinterpret_cast<AirspaceSetupDialog*>(GetWindowLongPtrW(window, kSelf));
    if (self == nullptr) return FALSE;
    const INT_PTR result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, kSelf, 0);
        self->window_ = nullptr;
    }
    return result;
}

INT_PTR AirspaceSetupDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            logic_->OnTimer(static_cast<int>(wParam));
            return FALSE;
        case WM_SYSCOMMAND:
            if ((static_cast<unsigned>(wParam) & 0xFFF0u) == kAboutCommand) {
                logic_->OnSysCommand(static_cast<unsigned>(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_PAINT:
            onPaint();
            return TRUE;
        case WM_DRAWITEM:
            if (wParam == kIdCapacityBar) {
                drawCapacityBar(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(bigIcon_);
        case WM_DESTROY:
            onDestroy();
            return FALSE;
        default:
            break;
    }
    return FALSE;
}

void AirspaceSetupDialog::onInitDialog() {
    messages_.SetOwner(window_);
    if (options_.messageBox) messages_.SetBoxFunction(options_.messageBox);
    combo_.SetWindow(control(kIdPortCombo));

    bigIcon_ =
        static_cast<HICON>(LoadImageW(programInstance(), MAKEINTRESOURCEW(IDI_ZONESEND), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageW(programInstance(), MAKEINTRESOURCEW(IDI_ZONESEND),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    if (options_.selectionTools.shown) createSelectionTools();
    logic_ = std::make_unique<AirspaceSetupLogic>(app_, *this, options_.services);
    (void)logic_->OnInitDialog();
    if (options_.created) options_.created(*this);
}

void AirspaceSetupDialog::onCommand(int controlId, int notification) {
    switch (controlId) {
        case IDOK:
        case IDCANCEL:
            // Exit, Escape, Enter without a focused button and the window's close box.
            if (modal_) {
                EndDialog(window_, controlId);
            } else {
                DestroyWindow(window_);
            }
            return;
        case kIdSendAirspace:
            if (notification == BN_CLICKED) logic_->OnSendAirspace();
            return;
        case kIdLoadFile:
            if (notification == BN_CLICKED) logic_->OnLoadFile();
            return;
        case kIdAddFile:
            if (notification == BN_CLICKED) logic_->OnAddFile();
            return;
        case kIdSelectAll:
        case kIdSelectNone:
            if (notification != BN_CLICKED) return;
            if (controlId == kIdSelectAll) {
                logic_->OnSelectAll();
            } else {
                logic_->OnSelectNone();
            }
            // The map follows every change of the selection.
            if (showingMap_) drawSelectionMap();
            return;
        case kIdAirspaceList:
            // Sent for the pilot's clicks and keys only, never for LB_SETSEL.
            if (notification != LBN_SELCHANGE) return;
            logic_->OnListSelChange();
            showAirspaceInfo();
            return;
        case kIdSelect:
            if (notification == BN_CLICKED) OnSelect();
            return;
        case kIdMapToggle:
            if (notification == BN_CLICKED) {
                showMap(SendMessageW(control(kIdMapToggle), BM_GETCHECK, 0, 0) == BST_CHECKED);
            }
            return;
        case kIdPortCombo:
            if (notification == CBN_SELCHANGE) logic_->OnPortSelChange();
            return;
        default:
            return;
    }
}

void AirspaceSetupDialog::onPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    if (IsIconic(window_)) {
        const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, bigIcon_);
    } else if (preview_) {
        // The preview stays on show across repaints until the next selection change.
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, preview_);
        BitBlt(dc, previewRect_.left, previewRect_.top, previewRect_.right - previewRect_.left,
               previewRect_.bottom - previewRect_.top, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    EndPaint(window_, &paint);
}

void AirspaceSetupDialog::onDestroy() {
    if (logic_) logic_->OnDestroy();
}

RECT AirspaceSetupDialog::childRect(int controlId) const {
    RECT place{};
    GetWindowRect(control(controlId), &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

seriallink::MessageAnswer AirspaceSetupDialog::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    return messages_.ShowMessageBox(request);
}

void AirspaceSetupDialog::setControlText(int controlId, const std::string& text) {
    // The bar shows what "Bytes used" says, whichever handler has just set it.
    if (controlId == kIdBytesValue && hasTools_) {
        capacityUsed_ = static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
        InvalidateRect(control(kIdCapacityBar), nullptr, TRUE);
    }
    SetDlgItemTextW(window_, controlId, Widen(text).c_str());
}

void AirspaceSetupDialog::setTitleText(const std::string& text) {
    SetWindowTextW(window_, Widen(text).c_str());
}

void AirspaceSetupDialog::addAboutMenuItem(const std::string& text) {
    HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, Widen(text).c_str());
}

void AirspaceSetupDialog::enableControl(int controlId, bool enable) {
    EnableWindow(control(controlId), enable ? TRUE : FALSE);
}

void AirspaceSetupDialog::clearList() {
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_RESETCONTENT, 0, 0);
}

void AirspaceSetupDialog::addListLine(const std::string& text) {
    const std::wstring wide = Widen(text);
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(wide.c_str()));
}

unsigned AirspaceSetupDialog::listCount() const {
    const LRESULT count = SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0u : static_cast<unsigned>(count);
}

void AirspaceSetupDialog::setLineSelected(unsigned index, bool selected) {
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_SETSEL, selected ? TRUE : FALSE,
                        static_cast<LPARAM>(index));
}

bool AirspaceSetupDialog::selectedLines(std::vector<unsigned>& out) const {
    out.clear();
    const unsigned count = listCount();
    if (count == 0) return true;
    std::vector<int> indexes(count);
    const LRESULT selected =
        SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETSELITEMS, static_cast<WPARAM>(count),
                            reinterpret_cast<LPARAM>(indexes.data()));
    if (selected == LB_ERR) return false;
    for (LRESULT i = 0; i < selected; ++i) {
        out.push_back(static_cast<unsigned>(indexes[static_cast<std::size_t>(i)]));
    }
    return true;
}

int AirspaceSetupDialog::caretIndex() const {
    const LRESULT caret = SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETCARETINDEX, 0, 0);
    return caret == LB_ERR ? -1 : static_cast<int>(caret);
}

void AirspaceSetupDialog::applyListFont() {
    if (listFont_) DeleteObject(listFont_);
    listFont_ = createPointFont(kListPointSize, kListFace);
    if (listFont_ == nullptr || !isFixedFace(listFont_, kListFace)) {
        // Without the face the mapper picks the system's fixed-pitch modern font.
        if (listFont_) DeleteObject(listFont_);
        listFont_ = createPointFont(kListPointSize, L"");
    }
    SendDlgItemMessageW(window_, kIdAirspaceList, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_),
                        TRUE);
    SendDlgItemMessageW(window_, kIdHeaderLine, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_),
                        TRUE);
}

void AirspaceSetupDialog::computePreviewRect() {
    // Right of the list, below the top buttons, above the file line; right and bottom exclusive.
    const RECT list = childRect(kIdAirspaceList);
    const RECT exit = childRect(kIdExit);
    const RECT fileLine = childRect(kIdFileLine);
    RECT client;
    GetClientRect(window_, &client);
    previewRect_ = PixelRect{list.right + 2, exit.bottom + 5, client.right - 5, fileLine.top - 5};
}

void AirspaceSetupDialog::drawPreview(const airspace::AirspaceRecord& airspace) {
    if (showingMap_) {
        drawSelectionMap();
        return;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    showPicture(renderPreviewBitmap(airspace, previewRect_.right - previewRect_.left,
                                    previewRect_.bottom - previewRect_.top, font));
}

void AirspaceSetupDialog::showPicture(HBITMAP picture) {
    if (picture == nullptr) return;
    if (preview_) DeleteObject(preview_);
    preview_ = picture;
    const RECT area{previewRect_.left, previewRect_.top, previewRect_.right, previewRect_.bottom};
    InvalidateRect(window_, &area, FALSE);
}

void AirspaceSetupDialog::setListLine(unsigned index, const std::string& text) {
    HWND list = control(kIdAirspaceList);
    const bool selected = SendMessageW(list, LB_GETSEL, index, 0) > 0;
    const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    const std::wstring wide = Widen(text);
    SendMessageW(list, LB_DELETESTRING, index, 0);
    SendMessageW(list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(list, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    if (caret != LB_ERR) SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
}

void AirspaceSetupDialog::createSelectionTools() {
    hasTools_ = true;
    if (options_.selectionTools.profile != nullptr) {
        panel_.choices() = readSelectionChoices(*options_.selectionTools.profile);
    }
    const auto units = shell::win32::DialogUnits::OfDialog(window_);
    RECT frame;
    GetWindowRect(window_, &frame);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + units.Y(kSelectionStripHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const auto font = static_cast<WPARAM>(SendMessageW(window_, WM_GETFONT, 0, 0));
    const auto make = [&](int id, const wchar_t* kind, DWORD style, const DialogUnitRect& at,
                          const std::string& text) {
        const RECT place = units.Rect(at.x, at.y, at.width, at.height);
        HWND made = CreateWindowExW(
            0, kind, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
            place.right - place.left, place.bottom - place.top, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance(), nullptr);
        SendMessageW(made, WM_SETFONT, font, FALSE);
    };
    make(kIdSelect, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kSelectButtonPlace,
         seriallink::LoadString(ids::kSelectButton));
    make(kIdMapToggle, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, kMapTogglePlace,
         seriallink::LoadString(ids::kMapToggle));
    make(kIdCapacityBar, L"STATIC", SS_OWNERDRAW, kCapacityBarPlace, "");
    make(kIdAddFile, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kAddFilePlace,
         seriallink::LoadString(ids::kAddFileButton));
    make(kIdAirspaceInfo, L"STATIC", SS_LEFT | SS_NOPREFIX, kAirspaceInfoPlace, "");
}

void AirspaceSetupDialog::drawCapacityBar(const DRAWITEMSTRUCT& item) const {
    const RECT& all = item.rcItem;
    HDC dc = item.hDC;
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    const std::uint32_t used = std::min<std::uint32_t>(capacityUsed_, kDeviceCapacity);
    RECT filled = all;
    filled.right =
        all.left + static_cast<LONG>((all.right - all.left) * static_cast<long long>(used) /
                                     static_cast<long long>(kDeviceCapacity));
    FillRect(dc, &filled, GetSysColorBrush(COLOR_HIGHLIGHT));
    FrameRect(dc, &all, GetSysColorBrush(COLOR_WINDOWFRAME));
    const std::wstring text = Widen(seriallink::FormatText(
        seriallink::LoadString(ids::kCapacityText),
        {static_cast<long long>(capacityUsed_), static_cast<long long>(kDeviceCapacity)}));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT box = all;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void AirspaceSetupDialog::OnSelect(const std::function<void(HWND)>& whileOpen) {
    SelectionDialog panel(
        panel_, *logic_, options_.selectionTools.profile,
        [this] {
            showAirspaceInfo();
            if (showingMap_) drawSelectionMap();
        },
        whileOpen);
    (void)panel.RunModal(window_);
}

void AirspaceSetupDialog::showMap(bool on) {
    showingMap_ = on;
    if (HWND toggle = control(kIdMapToggle)) {
        SendMessageW(toggle, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (on) {
        drawSelectionMap();
        return;
    }
    const int caret = caretIndex();
    const auto& records = logic_->airspaces();
    if (caret >= 0 && static_cast<std::size_t>(caret) < records.size()) {
        drawPreview(records[static_cast<std::size_t>(caret)]);
        return;
    }
    if (preview_) DeleteObject(preview_);
    preview_ = nullptr;
    const RECT area{previewRect_.left, previewRect_.top, previewRect_.right, previewRect_.bottom};
    InvalidateRect(window_, &area, TRUE);
}

void AirspaceSetupDialog::drawSelectionMap() {
    std::vector<unsigned> lines;
    (void)selectedLines(lines);
    const int caret = caretIndex();
    const bool caretSelected =
        caret >= 0 &&
        SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETSEL, static_cast<WPARAM>(caret), 0) > 0;
    const MapRequest request =
        selectionMapRequest(logic_->airspaces(), lines, caret, caretSelected, panel_);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    showPicture(renderMapBitmap(request, previewRect_.right - previewRect_.left,
                                previewRect_.bottom - previewRect_.top, font));
}

void AirspaceSetupDialog::showAirspaceInfo() {
    if (!hasTools_) return;
    const int caret = caretIndex();
    const auto& records = logic_->airspaces();
    setControlText(kIdAirspaceInfo, caret >= 0 && static_cast<std::size_t>(caret) < records.size()
                                        ? airspaceInfoText(records[static_cast<std::size_t>(caret)],
                                                           logic_->loadedFiles())
                                        : std::string());
}

std::optional<std::string> AirspaceSetupDialog::chooseFile(const std::string& title,
                                                           const std::string& filter) {
    if (options_.chooseFile) return options_.chooseFile(title, filter);
    const std::wstring filters = fileDialogFilter(filter);
    const std::wstring caption = Widen(title);
    std::wstring path(kPathCapacity, L'\0');
    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = window_;
    choice.lpstrFilter = filters.c_str();
    choice.nFilterIndex = 1;
    choice.lpstrFile = path.data();
    choice.nMaxFile = static_cast<DWORD>(path.size());
    choice.lpstrTitle = caption.c_str();
    choice.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&choice)) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return Narrow(path);
}

int AirspaceSetupDialog::startRepeatingTimer(int timerId, int periodMs) {
    const UINT_PTR started =
        SetTimer(window_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(periodMs), nullptr);
    return static_cast<int>(started);
}

void AirspaceSetupDialog::stopRepeatingTimer(int identifier) {
    KillTimer(window_, static_cast<UINT_PTR>(identifier));
}

bool AirspaceSetupDialog::isTopLevelActive() const {
    return GetActiveWindow() == GetAncestor(window_, GA_ROOT);
}

void AirspaceSetupDialog::showAboutBox() {
    if (options_.aboutBox) {
        options_.aboutBox();
        return;
    }
    win32::showAboutBox(window_);
}

namespace {

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextW(window, Widen(seriallink::LoadString(ids::kAboutTitle)).c_str());
            SetDlgItemTextW(
                window, kIdAboutVersion,
                Widen(seriallink::LoadString(ids::kAboutVersion) + kVersionSuffix).c_str());
            SetDlgItemTextW(window, kIdAboutText,
                            Widen(seriallink::LoadString(ids::kAboutText)).c_str());
            SetDlgItemTextW(window, kIdOk, Widen(seriallink::LoadString(ids::kAboutOk)).c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void showAboutBox(HWND owner) {
    DialogBoxParamW(programInstance(), MAKEINTRESOURCEW(IDD_ZONESEND_ABOUT), owner, aboutProc, 0);
}

int runAirspaceSetup(AirspaceSetupApp& app, ProfileStore& profile,
                     AirspaceSetupDialog::Options options) {
    app.readSettings(profile);
    options.selectionTools = {true, &profile};
    {
        AirspaceSetupDialog dialog(app, std::move(options));
        (void)dialog.RunModal();
    }
    app.writeSettings(profile);
    return 0;
}

}  // namespace zonesend::win32
