// Dialog templates give every position in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. Windows made from a template are
// converted by the dialog manager; this does the same sum for windows laid out by hand (a page
// drawn with the template's font, a preview area placed against the controls).
#pragma once

#include "shell/win32/Windows.h"

namespace shell::win32 {

class DialogUnits {
public:
    // The base units of a dialog made from a template, as MapDialogRect uses them.
    [[nodiscard]] static DialogUnits OfDialog(HWND dialog);
    // The base units of a font as the dialog manager measures them: the average width of the 52
    // letters, rounded half up, and the font's character height.
    [[nodiscard]] static DialogUnits OfFont(HFONT font);
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

    [[nodiscard]] int X(int units) const;
    [[nodiscard]] int Y(int units) const;
    // x, y, width, height in dialog units to a pixel rectangle (right and bottom exclusive).
    [[nodiscard]] RECT Rect(int x, int y, int width, int height) const;

    [[nodiscard]] int baseX() const { return baseX_; }
    [[nodiscard]] int baseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

// Centres a top-level window over its owner, or over the work area of its monitor when it has
// none (or the owner is hidden or minimised): where the pilot looks, whatever its size.
void CentreWindow(HWND window);

}  // namespace shell::win32
