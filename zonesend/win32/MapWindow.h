// The map of the selection in Airspace Setup on Windows: a child window that paints what
// MapLayout lays out and forwards the pilot's wheel, drag, keys and buttons to MapNavigator.
// "Whole selection", - and + stand in the band under the map, beside the scale bars.
#pragma once

#include <functional>

#include "shell/win32/Windows.h"
#include "zonesend/MapNavigator.h"

namespace zonesend::win32 {

class MapWindow {
public:
    // `request` gives what to draw each time the map is drawn; the window adds its view.
    explicit MapWindow(std::function<MapRequest()> request) : request_(std::move(request)) {}
    ~MapWindow();
    MapWindow(const MapWindow&) = delete;
    MapWindow& operator=(const MapWindow&) = delete;

    // Makes the window, hidden, as a child of `parent` with the parent's font.
    bool create(HWND parent, int controlId);
    [[nodiscard]] HWND window() const { return window_; }
    // Puts the window at `place` (parent's client pixels), draws the map again and shows it.
    void showAt(const RECT& place);
    void hide();
    // Lays the map out again from a fresh request.
    void redraw();
    // The map as last drawn; owned by the window.
    [[nodiscard]] HBITMAP bitmap() const { return bitmap_; }
    [[nodiscard]] MapNavigator& navigator() { return navigator_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void placeButtons();
    void onKey(WPARAM key);
    void follow(bool changed);

    std::function<MapRequest()> request_;
    MapNavigator navigator_;
    HWND window_ = nullptr;
    HWND whole_ = nullptr;
    HWND zoomOut_ = nullptr;
    HWND zoomIn_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    int wheel_ = 0;  // wheel delta not yet a whole notch
};

}  // namespace zonesend::win32
