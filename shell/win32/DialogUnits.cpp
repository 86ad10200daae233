#include "shell/win32/DialogUnits.h"

#include <algorithm>

namespace shell::win32 {

namespace {

constexpr int kUnitsPerBaseX = 4;
constexpr int kUnitsPerBaseY = 8;

}  // namespace

DialogUnits DialogUnits::OfDialog(HWND dialog) {
    // MapDialogRect knows the template's font even when the dialog has set another one since.
    RECT probe{0, 0, kUnitsPerBaseX, kUnitsPerBaseY};
    if (dialog == nullptr || !MapDialogRect(dialog, &probe)) {
        const LONG units = GetDialogBaseUnits();
        return DialogUnits(LOWORD(units), HIWORD(units));
    }
    return DialogUnits(probe.right, probe.bottom);
}

DialogUnits DialogUnits::OfFont(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    GetTextExtentPoint32W(dc, kAlphabet, 52, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return DialogUnits((extent.cx / 26 + 1) / 2, metrics.tmHeight);
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX_, kUnitsPerBaseX);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY_, kUnitsPerBaseY);
}

RECT DialogUnits::Rect(int x, int y, int width, int height) const {
    const int left = X(x);
    const int top = Y(y);
    return RECT{left, top, left + X(width), top + Y(height)};
}

void CentreWindow(HWND window) {
    RECT frame;
    if (!GetWindowRect(window, &frame)) return;
    HWND owner = GetWindow(window, GW_OWNER);
    RECT over{};
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &over);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
        over = monitor.rcWork;
    }
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    // Never with the caption off the top or left of the screen, where it could not be dragged.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        x = std::max<int>(x, monitor.rcWork.left);
        y = std::max<int>(y, monitor.rcWork.top);
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace shell::win32
