#include "zonesend/win32/AirspaceSetupDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "shell/win32/DialogUnits.h"
#include "shell/win32/LanguageCombo.h"
#include "shell/win32/Text.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/SelectionPanelLogic.h"
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
    if (alwaysFont_) DeleteObject(alwaysFont_);
    if (neverFont_) DeleteObject(neverFont_);
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
            if (wParam == kIdAirspaceList) {
                drawListLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            return FALSE;
        case WM_MEASUREITEM:
            if (wParam == kIdAirspaceList) {
                // Until the list font is set, which sets the height again.
                reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 12;
                return TRUE;
            }
            return FALSE;
        case WM_VKEYTOITEM:
            // Insert marks the line "Always include", Delete "Never include"; -1 leaves every
            // other key to the list box.
            if (tools_ && (LOWORD(wParam) == VK_INSERT || LOWORD(wParam) == VK_DELETE)) {
                tools_->OnMarkCaretLine(LOWORD(wParam) == VK_INSERT ? LineMark::AlwaysInclude
                                                                    : LineMark::NeverInclude);
                return -2;
            }
            return -1;
        case WM_CONTEXTMENU:
            if (tools_ && reinterpret_cast<HWND>(wParam) == control(kIdAirspaceList)) {
                onListContextMenu(lParam);
                return TRUE;
            }
            return FALSE;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) onSize();
            return FALSE;
        case WM_GETMINMAXINFO:
            // Smaller, the template's controls would no longer fit; larger, the map gains room.
            if (firstFrame_.cx > 0) {
                auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
                limits->ptMinTrackSize = {firstFrame_.cx, firstFrame_.cy};
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
    // Centred once its size is final (the selection strip makes it taller).
    shell::win32::CentreWindow(window_);
    if (hasTools_) {
        tools_ = std::make_unique<SelectionTools>(*logic_, *this, *this,
                                                  options_.selectionTools.profile);
        rememberFirstLayout();
    }
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
            if (notification != BN_CLICKED) return;
            logic_->OnLoadFile();
            if (tools_) tools_->OnSelectionReplaced();
            return;
        case kIdAddFile:
            if (notification != BN_CLICKED) return;
            logic_->OnAddFile();
            if (tools_) tools_->OnSelectionReplaced();
            return;
        case kIdSelectAll:
        case kIdSelectNone:
            if (notification != BN_CLICKED) return;
            if (controlId == kIdSelectAll) {
                logic_->OnSelectAll();
            } else {
                logic_->OnSelectNone();
            }
            // The strip follows every change of the selection.
            if (tools_) tools_->OnSelectionReplaced();
            return;
        case kIdAirspaceList:
            // Sent for the pilot's clicks and keys only, never for LB_SETSEL.
            if (notification != LBN_SELCHANGE) return;
            logic_->OnListSelChange();
            if (tools_) tools_->OnListSelChange();
            return;
        case kIdSelect:
            if (notification == BN_CLICKED) OnSelect();
            return;
        case kIdMapToggle:
            if (notification == BN_CLICKED) {
                showMap(SendMessageW(control(kIdMapToggle), BM_GETCHECK, 0, 0) == BST_CHECKED);
            }
            return;
        case kIdSelectedOnly:
            if (notification == BN_CLICKED && tools_) {
                tools_->OnSelectedOnly(IsDlgButtonChecked(window_, kIdSelectedOnly) == BST_CHECKED);
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

void AirspaceSetupDialog::rememberFirstLayout() {
    RECT client, frame;
    GetClientRect(window_, &client);
    GetWindowRect(window_, &frame);
    firstClient_ = {client.right, client.bottom};
    firstFrame_ = {frame.right - frame.left, frame.bottom - frame.top};
    const RECT list = childRect(kIdAirspaceList);
    firstListBottom_ = list.bottom;
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == map_.window()) continue;
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
        firstPlaces_.emplace_back(child,
                                  PixelRect{place.left, place.top, place.right, place.bottom});
    }
}

PixelRect AirspaceSetupDialog::mapRect() const {
    if (firstClient_.cx == 0) return previewRect_;
    RECT client;
    GetClientRect(window_, &client);
    return grownMapPlace(previewRect_, client.right - firstClient_.cx,
                         client.bottom - firstClient_.cy);
}

void AirspaceSetupDialog::onSize() {
    if (firstClient_.cx == 0) return;
    RECT client;
    GetClientRect(window_, &client);
    const int dw = client.right - firstClient_.cx, dh = client.bottom - firstClient_.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(firstPlaces_.size()));
    for (const auto& [child, first] : firstPlaces_) {
        const PixelRect grown =
            grownControlPlace(GetDlgCtrlID(child), first, firstListBottom_, dw, dh);
        if (moves != nullptr) {
            moves = DeferWindowPos(moves, child, nullptr, grown.left, grown.top,
                                   grown.right - grown.left, grown.bottom - grown.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (moves != nullptr) EndDeferWindowPos(moves);
    InvalidateRect(window_, nullptr, TRUE);
    if (showingMap()) drawSelectionMap();
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
    lineTexts_.clear();
    lineMarks_.clear();
    rowLines_.clear();
    hiddenSelected_.clear();
    hidden_.clear();
    hiddenCount_ = 0;
}

void AirspaceSetupDialog::addListLine(const std::string& text) {
    const std::wstring wide = Widen(text);
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(wide.c_str()));
    rememberLine(wide);
}

void AirspaceSetupDialog::rememberLine(const std::wstring& wide) {
    if (!hasTools_) return;
    if (hiddenCount_ > 0) rowLines_.push_back(static_cast<int>(lineTexts_.size()));
    lineTexts_.push_back(wide);
    lineMarks_.push_back(LineMark::None);
    hiddenSelected_.push_back(false);
    hidden_.push_back(false);
}

void AirspaceSetupDialog::addListLines(const std::vector<std::string>& lines) {
    // Line by line with redrawing on, a national file of 1,600 lines takes seconds: the list
    // is filled unseen, with room for every line made at once, and drawn once at the end.
    HWND list = control(kIdAirspaceList);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    std::size_t characters = 0;
    for (const std::string& line : lines) characters += line.size() + 1;
    SendMessageW(list, LB_INITSTORAGE, static_cast<WPARAM>(lines.size()),
                 static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::string& line : lines) {
        const std::wstring wide = Widen(line);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        rememberLine(wide);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

unsigned AirspaceSetupDialog::listCount() const {
    if (hiddenCount_ > 0) return static_cast<unsigned>(lineTexts_.size());
    const LRESULT count = SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0u : static_cast<unsigned>(count);
}

int AirspaceSetupDialog::rowOf(unsigned index) const {
    if (hiddenCount_ == 0) return static_cast<int>(index);
    if (index >= hidden_.size() || hidden_[index]) return -1;
    const auto found =
        std::lower_bound(rowLines_.begin(), rowLines_.end(), static_cast<int>(index));
    return static_cast<int>(found - rowLines_.begin());
}

unsigned AirspaceSetupDialog::lineOf(int row) const {
    if (hiddenCount_ == 0 || row < 0 || static_cast<std::size_t>(row) >= rowLines_.size()) {
        return static_cast<unsigned>(row);
    }
    return static_cast<unsigned>(rowLines_[static_cast<std::size_t>(row)]);
}

void AirspaceSetupDialog::setLineSelected(unsigned index, bool selected) {
    const int row = rowOf(index);
    if (row < 0) {
        hiddenSelected_[index] = selected;
        return;
    }
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_SETSEL, selected ? TRUE : FALSE,
                        static_cast<LPARAM>(row));
}

void AirspaceSetupDialog::setAllLinesSelected(bool selected) {
    // Line -1 is every line, in one message and one redraw.
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_SETSEL, selected ? TRUE : FALSE, -1);
    std::fill(hiddenSelected_.begin(), hiddenSelected_.end(), selected);
}

bool AirspaceSetupDialog::selectedLines(std::vector<unsigned>& out) const {
    out.clear();
    const LRESULT rows = SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETCOUNT, 0, 0);
    if (rows > 0) {
        std::vector<int> indexes(static_cast<std::size_t>(rows));
        const LRESULT selected =
            SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETSELITEMS, static_cast<WPARAM>(rows),
                                reinterpret_cast<LPARAM>(indexes.data()));
        if (selected == LB_ERR) return false;
        for (LRESULT i = 0; i < selected; ++i) {
            out.push_back(lineOf(indexes[static_cast<std::size_t>(i)]));
        }
    }
    if (hiddenCount_ > 0) {
        for (std::size_t i = 0; i < hiddenSelected_.size(); ++i) {
            if (hidden_[i] && hiddenSelected_[i]) out.push_back(static_cast<unsigned>(i));
        }
        std::sort(out.begin(), out.end());
    }
    return true;
}

int AirspaceSetupDialog::caretIndex() const {
    const LRESULT caret = SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETCARETINDEX, 0, 0);
    return caret == LB_ERR ? -1 : static_cast<int>(lineOf(static_cast<int>(caret)));
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
    if (!hasTools_) return;
    // The marks' own fonts, and the owner-drawn lines as tall as the list font's.
    LOGFONTW shape{};
    GetObjectW(listFont_, sizeof shape, &shape);
    if (alwaysFont_) DeleteObject(alwaysFont_);
    if (neverFont_) DeleteObject(neverFont_);
    shape.lfWeight = FW_BOLD;
    alwaysFont_ = CreateFontIndirectW(&shape);
    shape.lfWeight = FW_NORMAL;
    shape.lfStrikeOut = TRUE;
    neverFont_ = CreateFontIndirectW(&shape);
    HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, listFont_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    SendDlgItemMessageW(window_, kIdAirspaceList, LB_SETITEMHEIGHT, 0,
                        MAKELPARAM(metrics.tmHeight, 0));
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
    // With the map on, the strip's logic draws the map after every change instead.
    if (showingMap()) return;
    paintPreview(airspace);
}

void AirspaceSetupDialog::paintPreview(const airspace::AirspaceRecord& airspace) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    showPicture(renderPreviewBitmap(airspace, previewRect_.right - previewRect_.left,
                                    previewRect_.bottom - previewRect_.top, font));
}

void AirspaceSetupDialog::fileReplaced() {
    if (tools_) {
        tools_->OnFileReplaced();
        return;
    }
    if (preview_) DeleteObject(preview_);
    preview_ = nullptr;
    const RECT area{previewRect_.left, previewRect_.top, previewRect_.right, previewRect_.bottom};
    InvalidateRect(window_, &area, TRUE);
}

void AirspaceSetupDialog::showPicture(HBITMAP picture) {
    if (picture == nullptr) return;
    if (preview_) DeleteObject(preview_);
    preview_ = picture;
    const RECT area{previewRect_.left, previewRect_.top, previewRect_.right, previewRect_.bottom};
    InvalidateRect(window_, &area, FALSE);
}

void AirspaceSetupDialog::setListLine(unsigned index, const std::string& text) {
    const std::wstring wide = Widen(text);
    if (index < lineTexts_.size()) lineTexts_[index] = wide;
    const int row = rowOf(index);
    if (row < 0) return;
    HWND list = control(kIdAirspaceList);
    const bool selected = SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0;
    const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(list, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(row));
    if (caret != LB_ERR) SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
}

void AirspaceSetupDialog::createSelectionTools() {
    hasTools_ = true;
    makeMarkableList();
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
    make(kIdSelectedOnly, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, kSelectedOnlyPlace,
         seriallink::LoadString(ids::kSelectedOnly));
    make(kIdAddFile, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kAddFilePlace,
         seriallink::LoadString(ids::kAddFileButton));
    make(kIdAirspaceInfo, L"STATIC", SS_LEFT | SS_NOPREFIX, kAirspaceInfoPlace, "");
    (void)map_.create(window_, kIdMapWindow);
}

void AirspaceSetupDialog::makeMarkableList() {
    // The template's list box again, in its place and tab order, drawing its own lines (so
    // that a mark shows beside the file's text) and passing Insert and Delete to the dialog.
    HWND old = control(kIdAirspaceList);
    const RECT place = childRect(kIdAirspaceList);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE));
    HWND before = GetWindow(old, GW_HWNDPREV);
    DestroyWindow(old);
    HWND list = CreateWindowExW(
        exStyle, L"LISTBOX", L"",
        (style & ~static_cast<DWORD>(LBS_OWNERDRAWVARIABLE)) | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
            LBS_WANTKEYBOARDINPUT,
        place.left, place.top, place.right - place.left, place.bottom - place.top, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdAirspaceList)), programInstance(), nullptr);
    SetWindowPos(list, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void AirspaceSetupDialog::drawListLine(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT box = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &box);
        return;
    }
    const unsigned line = lineOf(static_cast<int>(item.itemID));
    if (line >= lineTexts_.size()) return;
    const LineMark mark = lineMarks_[line];
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    // The file's text as it is; the mark is the line's tint and font.
    if (selected) {
        FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else if (mark == LineMark::AlwaysInclude) {
        HBRUSH tint = CreateSolidBrush(RGB(0xD8, 0xF0, 0xD8));
        FillRect(dc, &box, tint);
        DeleteObject(tint);
    } else {
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected                         ? COLOR_HIGHLIGHTTEXT
                                 : mark == LineMark::NeverInclude ? COLOR_GRAYTEXT
                                                                  : COLOR_WINDOWTEXT));
    HFONT font = mark == LineMark::AlwaysInclude  ? alwaysFont_
                 : mark == LineMark::NeverInclude ? neverFont_
                                                  : listFont_;
    const HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : listFont_);
    const std::wstring& text = lineTexts_[line];
    TextOutW(dc, box.left + 1, box.top, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, previous);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &box);
}

void AirspaceSetupDialog::showLineMark(unsigned index, LineMark mark) {
    if (index >= lineMarks_.size()) return;
    lineMarks_[index] = mark;
    const int row = rowOf(index);
    if (row < 0) return;
    RECT box{};
    if (SendDlgItemMessageW(window_, kIdAirspaceList, LB_GETITEMRECT, static_cast<WPARAM>(row),
                            reinterpret_cast<LPARAM>(&box)) != LB_ERR) {
        InvalidateRect(control(kIdAirspaceList), &box, TRUE);
    }
}

void AirspaceSetupDialog::onListContextMenu(LPARAM at) {
    HWND list = control(kIdAirspaceList);
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    int line = caretIndex();
    // From the keyboard (Shift+F10, the menu key) the point is -1, -1: the current line's menu.
    const bool fromKeyboard = point.x == -1 && point.y == -1;
    if (!fromKeyboard) {
        // The line under the pointer becomes the current one; its selection stays.
        POINT inList = point;
        ScreenToClient(list, &inList);
        const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y));
        if (HIWORD(hit) != 0) return;
        SendMessageW(list, LB_SETCARETINDEX, LOWORD(hit), FALSE);
        line = static_cast<int>(lineOf(LOWORD(hit)));
    } else {
        if (line < 0 || rowOf(static_cast<unsigned>(line)) < 0) return;
        RECT box{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(rowOf(static_cast<unsigned>(line))),
                     reinterpret_cast<LPARAM>(&box));
        point = {box.left, box.bottom};
        ClientToScreen(list, &point);
    }
    if (line < 0) return;
    const LineMark now = logic_->lineMark(static_cast<std::size_t>(line));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | (now == LineMark::AlwaysInclude ? MF_CHECKED : 0u),
                ids::kAlwaysInclude,
                Widen(seriallink::LoadString(ids::kAlwaysInclude) + "\tIns").c_str());
    AppendMenuW(menu, MF_STRING | (now == LineMark::NeverInclude ? MF_CHECKED : 0u),
                ids::kNeverInclude,
                Widen(seriallink::LoadString(ids::kNeverInclude) + "\tDel").c_str());
    const BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0,
                                       window_, nullptr);
    DestroyMenu(menu);
    if (chosen == static_cast<BOOL>(ids::kAlwaysInclude)) {
        tools_->OnMarkLine(static_cast<unsigned>(line), LineMark::AlwaysInclude);
    } else if (chosen == static_cast<BOOL>(ids::kNeverInclude)) {
        tools_->OnMarkLine(static_cast<unsigned>(line), LineMark::NeverInclude);
    }
}

void AirspaceSetupDialog::hideLines(const std::vector<bool>& hidden) {
    if (!hasTools_) return;
    std::vector<unsigned> selected;
    (void)selectedLines(selected);
    const int caret = caretIndex();
    HWND list = control(kIdAirspaceList);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    const std::size_t count = lineTexts_.size();
    hidden_.assign(count, false);
    hiddenSelected_.assign(count, false);
    hiddenCount_ = 0;
    rowLines_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        hidden_[i] = i < hidden.size() && hidden[i];
        if (hidden_[i]) ++hiddenCount_;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (hidden_[i]) continue;
        if (hiddenCount_ > 0) rowLines_.push_back(static_cast<int>(i));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lineTexts_[i].c_str()));
    }
    for (const unsigned line : selected) setLineSelected(line, true);
    if (caret >= 0 && rowOf(static_cast<unsigned>(caret)) >= 0) {
        SendMessageW(list, LB_SETCARETINDEX,
                     static_cast<WPARAM>(rowOf(static_cast<unsigned>(caret))), FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void AirspaceSetupDialog::drawCapacityBar(const DRAWITEMSTRUCT& item) const {
    const RECT& all = item.rcItem;
    HDC dc = item.hDC;
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    const CapacityBarLook look = capacityBarLook(capacityUsed_);
    RECT filled = all;
    filled.right =
        all.left + static_cast<LONG>((all.right - all.left) * static_cast<long long>(look.filled) /
                                     static_cast<long long>(kDeviceCapacity));
    if (look.overCapacity) {
        HBRUSH warning = CreateSolidBrush(
            RGB(kCapacityWarningColour.r, kCapacityWarningColour.g, kCapacityWarningColour.b));
        FillRect(dc, &filled, warning);
        DeleteObject(warning);
    } else {
        FillRect(dc, &filled, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
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
    if (!tools_) return;
    SelectionDialog panel(*tools_, whileOpen);
    (void)panel.RunModal(window_);
}

void AirspaceSetupDialog::showMap(bool on) {
    if (tools_) tools_->OnMapToggle(on);
}

void AirspaceSetupDialog::showMapToggle(bool on) {
    if (HWND toggle = control(kIdMapToggle)) {
        SendMessageW(toggle, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void AirspaceSetupDialog::showSelectedOnly(bool on) {
    CheckDlgButton(window_, kIdSelectedOnly, on ? BST_CHECKED : BST_UNCHECKED);
}

void AirspaceSetupDialog::drawPreviewOf(const airspace::AirspaceRecord* airspace) {
    if (map_.window() != nullptr) map_.hide();
    if (airspace != nullptr) {
        paintPreview(*airspace);
        return;
    }
    if (preview_) DeleteObject(preview_);
    preview_ = nullptr;
    const RECT area{previewRect_.left, previewRect_.top, previewRect_.right, previewRect_.bottom};
    InvalidateRect(window_, &area, TRUE);
}

void AirspaceSetupDialog::drawMap(const MapRequest&) {
    // The map window asks for the request itself, whenever the pilot zooms, pans or resizes.
    drawSelectionMap();
}

void AirspaceSetupDialog::drawSelectionMap() {
    if (map_.window() == nullptr) return;
    const PixelRect place = mapRect();
    map_.showAt(RECT{place.left, place.top, place.right, place.bottom});
}

void AirspaceSetupDialog::showAirspaceInfo(const std::string& text) {
    if (hasTools_) setControlText(kIdAirspaceInfo, text);
}

std::optional<std::string> AirspaceSetupDialog::chooseFile(const std::string& title,
                                                           const std::string& filter) {
    if (options_.chooseFile) return options_.chooseFile(title, filter);
    const std::wstring filters = fileDialogFilter(filter);
    const std::wstring caption = Widen(title);
    // The dialog opens in the last folder, with the last file's name filled in.
    std::wstring path(kPathCapacity, L'\0');
    const std::wstring lastFile = Widen(app_.lastFile);
    const std::wstring lastFolder = Widen(app_.lastFolder);
    if (lastFile.size() < path.size()) std::copy(lastFile.begin(), lastFile.end(), path.begin());
    OPENFILENAMEW choice{};
    if (!lastFolder.empty()) choice.lpstrInitialDir = lastFolder.c_str();
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
    win32::showAboutBox(window_, options_.selectionTools.profile);
}

namespace {

seriallink::Language shownLanguage() {
    const seriallink::StringTable* table = seriallink::InstalledStringTable();
    return table != nullptr ? table->language() : seriallink::Language::English;
}

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            SetWindowTextW(window, Widen(seriallink::LoadString(ids::kAboutTitle)).c_str());
            SetDlgItemTextW(
                window, kIdAboutVersion,
                Widen(seriallink::LoadString(ids::kAboutVersion) + kVersionSuffix).c_str());
            SetDlgItemTextW(window, kIdAboutText,
                            Widen(seriallink::LoadString(ids::kAboutText)).c_str());
            SetDlgItemTextW(window, kIdOk, Widen(seriallink::LoadString(ids::kAboutOk)).c_str());
            SetDlgItemTextW(window, kIdAboutLanguageLabel,
                            Widen(seriallink::LoadString(ids::kLanguageLabel)).c_str());
            shell::win32::FillLanguageCombo(GetDlgItem(window, kIdAboutLanguage),
                                            shell::LanguageChoice(nullptr, shownLanguage()));
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kIdAboutLanguage && HIWORD(wParam) == CBN_SELCHANGE) {
                auto* profile =
                    reinterpret_cast<ProfileStore*>(GetWindowLongPtrW(window, DWLP_USER));
                shell::LanguageChoice choice(profile, shownLanguage());
                const auto picked =
                    shell::win32::PickedLanguage(GetDlgItem(window, kIdAboutLanguage));
                if (picked && choice.OnChosen(*picked)) {
                    MessageBoxW(window, Widen(seriallink::LoadString(ids::kLanguageNote)).c_str(),
                                Widen(seriallink::LoadString(ids::kAboutTitle)).c_str(),
                                MB_OK | MB_ICONINFORMATION);
                }
                return TRUE;
            }
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

void showAboutBox(HWND owner, ProfileStore* profile) {
    DialogBoxParamW(programInstance(), MAKEINTRESOURCEW(IDD_ZONESEND_ABOUT), owner, aboutProc,
                    reinterpret_cast<LPARAM>(profile));
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
