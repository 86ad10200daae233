#include "zonesend/win32/MapWindow.h"

#include <windowsx.h>

#include <utility>

#include "seriallink/Messages.h"
#include "shell/win32/Text.h"
#include "zonesend/Strings.h"
#include "zonesend/win32/GdiMap.h"

namespace zonesend::win32 {

namespace {

constexpr const wchar_t* kClassName = L"QuillonMap";
constexpr int kIdWhole = 1;
constexpr int kIdZoomOut = 2;
constexpr int kIdZoomIn = 3;
constexpr int kButtonGap = 3;

HINSTANCE programInstance() {
    return GetModuleHandleW(nullptr);
}

bool registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW kind{};
        kind.cbSize = sizeof kind;
        kind.lpfnWndProc = DefWindowProcW;
        kind.hInstance = programInstance();
        kind.hCursor = LoadCursorW(nullptr, IDC_SIZEALL);
        kind.lpszClassName = kClassName;
        return RegisterClassExW(&kind) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

int fontHeight(HWND window) {
    HDC dc = GetDC(window);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return metrics.tmHeight;
}

}  // namespace

MapWindow::~MapWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (bitmap_) DeleteObject(bitmap_);
}

bool MapWindow::create(HWND parent, int controlId) {
    if (!registerClass()) return false;
    // WS_EX_CONTROLPARENT: the dialog manager lets the buttons inside take part as its own.
    window_ = CreateWindowExW(
        WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), programInstance(), nullptr);
    if (window_ == nullptr) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MapWindow::WindowProc));
    const auto font = static_cast<WPARAM>(SendMessageW(parent, WM_GETFONT, 0, 0));
    SendMessageW(window_, WM_SETFONT, font, FALSE);
    const auto button = [&](int id, DWORD style, const std::string& text) {
        HWND made = CreateWindowExW(0, L"BUTTON", shell::win32::Widen(text).c_str(),
                                    WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    programInstance(), nullptr);
        SendMessageW(made, WM_SETFONT, font, FALSE);
        return made;
    };
    whole_ = button(kIdWhole, BS_AUTOCHECKBOX | BS_PUSHLIKE,
                    seriallink::LoadString(ids::kWholeSelection));
    zoomOut_ = button(kIdZoomOut, BS_PUSHBUTTON, "\xE2\x88\x92");
    zoomIn_ = button(kIdZoomIn, BS_PUSHBUTTON, "+");
    return true;
}

void MapWindow::showAt(const RECT& place) {
    SetWindowPos(window_, HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_NOREDRAW);
    placeButtons();
    redraw();
    ShowWindow(window_, SW_SHOWNA);
}

void MapWindow::hide() {
    ShowWindow(window_, SW_HIDE);
}

void MapWindow::redraw() {
    MapRequest request = request_();
    navigator_.follow(request.takeOff, request.radiusKm);
    request.view = navigator_.view();
    // A new take-off frames its radius again: the button says so.
    SendMessageW(whole_, BM_SETCHECK, navigator_.wholeSelection() ? BST_CHECKED : BST_UNCHECKED, 0);
    RECT client;
    GetClientRect(window_, &client);
    MapDrawing drawing;
    HBITMAP made =
        renderMapBitmap(request, client.right, client.bottom,
                        reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)), &drawing);
    if (made == nullptr) return;
    navigator_.noteDrawing(drawing);
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = made;
    InvalidateRect(window_, nullptr, FALSE);
}

void MapWindow::placeButtons() {
    RECT client;
    GetClientRect(window_, &client);
    // Bottom right, in the band of the scale bars, which take at most the left third.
    const int lineHeight = fontHeight(window_);
    const int height = lineHeight + 6;
    const int small = height + 4;
    HDC dc = GetDC(window_);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)));
    const std::wstring text = shell::win32::Widen(seriallink::LoadString(ids::kWholeSelection));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(window_, dc);
    const int wide = extent.cx + 16;
    const int top = client.bottom - height - 4;
    int right = client.right - 5;
    for (auto [button, width] :
         {std::pair{zoomIn_, small}, std::pair{zoomOut_, small}, std::pair{whole_, wide}}) {
        SetWindowPos(button, nullptr, right - width, top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        right -= width + kButtonGap;
    }
}

void MapWindow::follow(bool changed) {
    if (changed) redraw();
}

void MapWindow::onKey(WPARAM key) {
    switch (key) {
        case VK_LEFT:
            follow(navigator_.OnKey(MapKey::Left));
            return;
        case VK_RIGHT:
            follow(navigator_.OnKey(MapKey::Right));
            return;
        case VK_UP:
            follow(navigator_.OnKey(MapKey::Up));
            return;
        case VK_DOWN:
            follow(navigator_.OnKey(MapKey::Down));
            return;
        case VK_ADD:
        case VK_OEM_PLUS:  // the "=" key, + with shift
            follow(navigator_.OnKey(MapKey::ZoomIn));
            return;
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            follow(navigator_.OnKey(MapKey::ZoomOut));
            return;
        default:
            return;
    }
}

LRESULT CALLBACK MapWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MapWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT MapWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            if (bitmap_) {
                HDC source = CreateCompatibleDC(dc);
                const HGDIOBJ previous = SelectObject(source, bitmap_);
                BITMAP info{};
                GetObjectW(bitmap_, sizeof info, &info);
                BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
                SelectObject(source, previous);
                DeleteDC(source);
            }
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the bitmap covers it all
        case WM_GETDLGCODE:
            // The arrow keys and + and - move the map rather than the dialog's focus.
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            onKey(wParam);
            return 0;
        case WM_MOUSEWHEEL: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window_, &at);
            wheel_ += GET_WHEEL_DELTA_WPARAM(wParam);
            const int notches = wheel_ / WHEEL_DELTA;
            wheel_ -= notches * WHEEL_DELTA;
            if (notches != 0) follow(navigator_.OnWheel(notches, {at.x, at.y}));
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetFocus(window_);
            SetCapture(window_);
            navigator_.OnDragStart({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            if (navigator_.dragging()) {
                follow(navigator_.OnDragMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
            }
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == window_) ReleaseCapture();
            navigator_.OnDragEnd();
            return 0;
        case WM_CAPTURECHANGED:
            navigator_.OnDragEnd();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) break;
            // The keys go on moving the map after a click on its buttons.
            SetFocus(window_);
            switch (LOWORD(wParam)) {
                case kIdWhole:
                    follow(navigator_.OnWholeSelection(SendMessageW(whole_, BM_GETCHECK, 0, 0) ==
                                                       BST_CHECKED));
                    return 0;
                case kIdZoomOut:
                    follow(navigator_.OnKey(MapKey::ZoomOut));
                    return 0;
                case kIdZoomIn:
                    follow(navigator_.OnKey(MapKey::ZoomIn));
                    return 0;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace zonesend::win32
