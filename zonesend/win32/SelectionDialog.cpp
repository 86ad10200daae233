#include "zonesend/win32/SelectionDialog.h"

#include "shell/win32/DialogUnits.h"
#include "shell/win32/Text.h"
#include "zonesend/Strings.h"
#include "zonesend/win32/resource.h"

namespace zonesend::win32 {

namespace {

using shell::win32::Narrow;
using shell::win32::Widen;

// Type check boxes: four to a row inside their group, in dialog units.
constexpr int kTypeColumns = 4;
constexpr int kTypeWidth = 48;
constexpr int kTypeRowHeight = 11;
constexpr int kTypeMargin = 4;
// Below the last row, so that its boxes stand clear of the group's lower border.
constexpr int kTypeBottomMargin = 3;

void fillUnits(HWND combo, const std::vector<std::string>& names, int current) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : names) {
        const std::wstring wide = Widen(name);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

int currentUnit(HWND combo) {
    const LRESULT current = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return current == CB_ERR ? 0 : static_cast<int>(current);
}

// An edit control breaks lines at CR LF only.
std::wstring withCrLf(const std::string& text) {
    std::wstring out;
    for (const wchar_t c : Widen(text)) {
        if (c == L'\n') out.push_back(L'\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace

SelectionDialog::SelectionDialog(SelectionTools& tools, std::function<void(HWND)> whileOpen)
    : tools_(tools), panel_(tools.panel()), whileOpen_(std::move(whileOpen)) {}

INT_PTR SelectionDialog::RunModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ZONESEND_SELECT), owner,
                           &SelectionDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SelectionDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* self = reinterpret_cast<SelectionDialog*>(lParam);
        self->window_ = window;
        self->onInitDialog();
        if (self->whileOpen_) PostMessageW(window, WM_APP, 0, 0);
        return TRUE;
    }
    auto* self = reinterpret_cast<SelectionDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_APP) {
        self->whileOpen_(window);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK) {
            self->OnApply();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, IDCANCEL);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_SELECT_AUTO && HIWORD(wParam) == BN_CLICKED) {
            self->showAutoState();
            return TRUE;
        }
    }
    return FALSE;
}

void SelectionDialog::onInitDialog() {
    SetWindowTextW(window_, Widen(seriallink::LoadString(ids::kSelectTitle)).c_str());
    static constexpr struct {
        int control;
        unsigned text;
    } kTexts[] = {
        {IDC_SELECT_TAKEOFF_LABEL, ids::kTakeOffLabel},
        {IDC_SELECT_RADIUS_LABEL, ids::kRadiusLabel},
        {IDC_SELECT_TYPES_LABEL, ids::kTypesLabel},
        {IDC_SELECT_FLOOR_LABEL, ids::kFloorBelowLabel},
        {IDC_SELECT_NAME_LABEL, ids::kNameContainsLabel},
        {IDC_SELECT_SIMPLIFY_LABEL, ids::kSimplifyLabel},
        {IDC_SELECT_FIT, ids::kFitCheck},
        {IDC_SELECT_AUTO, ids::kAutoSimplify},
        {IDC_SELECT_AUTO_CEILING_LABEL, ids::kAutoCeilingLabel},
        {IDC_SELECT_CLIP, ids::kClipCheck},
        {IDC_SELECT_PREFERRED_LABEL, ids::kPreferredTypesLabel},
        {IDC_SELECT_DATE_LABEL, ids::kFlyingDateLabel},
        {IDC_SELECT_NO_NOTAM_ONLY, ids::kLeaveOutNotamOnly},
        {IDOK, ids::kApplyButton},
        {IDCANCEL, ids::kCloseButton},
    };
    for (const auto& entry : kTexts) setText(entry.control, seriallink::LoadString(entry.text));
    tools_.OnOpenPanel();
    createTypeBoxes();
    shell::win32::CentreWindow(window_);
    showChoices();
}

void SelectionDialog::createTypeBoxes() {
    const auto units = shell::win32::DialogUnits::OfDialog(window_);
    HWND group = GetDlgItem(window_, IDC_SELECT_TYPES);
    RECT place;
    GetWindowRect(group, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);

    const int count = static_cast<int>(panel_.types().size());
    const int rows = count == 0 ? 1 : (count + kTypeColumns - 1) / kTypeColumns;
    // The group holds one row as the template draws it; each further row, and the margin under
    // the last, pushes the controls below it down and makes the dialog taller.
    const int extra = units.Y((rows - 1) * kTypeRowHeight + kTypeBottomMargin);
    if (extra > 0) {
        for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RECT at;
            GetWindowRect(child, &at);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&at), 2);
            if (at.top >= place.bottom) {
                SetWindowPos(child, nullptr, at.left, at.top + extra, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        SetWindowPos(group, nullptr, 0, 0, place.right - place.left,
                     place.bottom - place.top + extra, SWP_NOMOVE | SWP_NOZORDER);
        RECT frame;
        GetWindowRect(window_, &frame);
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top + extra, SWP_NOMOVE | SWP_NOZORDER);
    }

    const auto font = static_cast<WPARAM>(SendMessageW(window_, WM_GETFONT, 0, 0));
    HWND after = group;
    for (int i = 0; i < count; ++i) {
        const TypeCount& type = panel_.types()[static_cast<std::size_t>(i)];
        const std::string label =
            toDisplayUtf8(type.type) + " (" + std::to_string(type.count) + ")";
        const int x = place.left + units.X(kTypeMargin + (i % kTypeColumns) * kTypeWidth);
        const int y = place.top + units.Y(kTypeMargin + 2 + (i / kTypeColumns) * kTypeRowHeight);
        HWND box = CreateWindowExW(
            0, L"BUTTON", Widen(label).c_str(),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, x, y, units.X(kTypeWidth - 2),
            units.Y(10), window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SELECT_FIRST_TYPE + i)),
            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(box, WM_SETFONT, font, FALSE);
        // In the tab order right after their group, before the floor.
        SetWindowPos(box, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = box;
        types_.push_back(box);
    }
}

void SelectionDialog::showChoices() {
    const SelectionChoices& c = panel_.choices();
    setText(IDC_SELECT_TAKEOFF, c.takeOff);
    setText(IDC_SELECT_RADIUS, c.radius);
    fillUnits(GetDlgItem(window_, IDC_SELECT_RADIUS_UNIT), radiusUnitNames(),
              static_cast<int>(c.radiusUnit));
    for (std::size_t i = 0; i < types_.size(); ++i) {
        SendMessageW(types_[i], BM_SETCHECK, panel_.typeTicked(i) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    setText(IDC_SELECT_FLOOR, c.floorBelow);
    fillUnits(GetDlgItem(window_, IDC_SELECT_FLOOR_UNIT), floorUnitNames(),
              static_cast<int>(c.floorUnit));
    setText(IDC_SELECT_NAME, c.nameContains);
    CheckDlgButton(window_, IDC_SELECT_FIT, c.fitToInstrument ? BST_CHECKED : BST_UNCHECKED);
    setText(IDC_SELECT_SIMPLIFY, c.simplifyMetres);
    CheckDlgButton(window_, IDC_SELECT_AUTO, c.autoSimplify ? BST_CHECKED : BST_UNCHECKED);
    setText(IDC_SELECT_AUTO_CEILING, c.autoCeilingMetres);
    CheckDlgButton(window_, IDC_SELECT_CLIP, c.clipToRadius ? BST_CHECKED : BST_UNCHECKED);
    setText(IDC_SELECT_PREFERRED, c.preferredTypes);
    setText(IDC_SELECT_DATE, c.flyingDate);
    CheckDlgButton(window_, IDC_SELECT_NO_NOTAM_ONLY,
                   c.leaveOutNotamOnly ? BST_CHECKED : BST_UNCHECKED);
    showAutoState();
}

void SelectionDialog::showAutoState() {
    // The fixed tolerance is Auto's to choose while Auto is on.
    const bool on = IsDlgButtonChecked(window_, IDC_SELECT_AUTO) == BST_CHECKED;
    EnableWindow(GetDlgItem(window_, IDC_SELECT_SIMPLIFY), on ? FALSE : TRUE);
    EnableWindow(GetDlgItem(window_, IDC_SELECT_AUTO_CEILING), on ? TRUE : FALSE);
}

void SelectionDialog::takeChoices() {
    SelectionChoices& c = panel_.choices();
    c.takeOff = text(IDC_SELECT_TAKEOFF);
    c.radius = text(IDC_SELECT_RADIUS);
    c.radiusUnit =
        static_cast<RadiusUnit>(currentUnit(GetDlgItem(window_, IDC_SELECT_RADIUS_UNIT)));
    for (std::size_t i = 0; i < types_.size(); ++i) {
        panel_.setTypeTicked(i, SendMessageW(types_[i], BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
    c.floorBelow = text(IDC_SELECT_FLOOR);
    c.floorUnit = static_cast<FloorUnit>(currentUnit(GetDlgItem(window_, IDC_SELECT_FLOOR_UNIT)));
    c.nameContains = text(IDC_SELECT_NAME);
    c.fitToInstrument = IsDlgButtonChecked(window_, IDC_SELECT_FIT) == BST_CHECKED;
    c.simplifyMetres = text(IDC_SELECT_SIMPLIFY);
    c.autoSimplify = IsDlgButtonChecked(window_, IDC_SELECT_AUTO) == BST_CHECKED;
    c.autoCeilingMetres = text(IDC_SELECT_AUTO_CEILING);
    c.clipToRadius = IsDlgButtonChecked(window_, IDC_SELECT_CLIP) == BST_CHECKED;
    c.preferredTypes = text(IDC_SELECT_PREFERRED);
    c.flyingDate = text(IDC_SELECT_DATE);
    c.leaveOutNotamOnly = IsDlgButtonChecked(window_, IDC_SELECT_NO_NOTAM_ONLY) == BST_CHECKED;
}

void SelectionDialog::OnApply() {
    takeChoices();
    (void)tools_.OnApply();
    SetDlgItemTextW(window_, IDC_SELECT_OUTCOME, withCrLf(panel_.lastText()).c_str());
}

std::string SelectionDialog::text(int controlId) const {
    HWND control = GetDlgItem(window_, controlId);
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(
        GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
    return Narrow(value);
}

void SelectionDialog::setText(int controlId, const std::string& text) {
    SetDlgItemTextW(window_, controlId, Widen(text).c_str());
}

}  // namespace zonesend::win32
