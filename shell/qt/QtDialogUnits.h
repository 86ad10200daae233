// Dialog templates give every position in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its height down. Both programs keep their templates'
// layout, so each window converts those units with its own font, the way the dialog manager does.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace shell {

class QtDialogUnits {
public:
    explicit QtDialogUnits(const QFont& font);

    // The template's "MS Shell Dlg" at the given point size, or the closest face the system has.
    [[nodiscard]] static QFont TemplateFont(int pointSize);

    [[nodiscard]] int X(int units) const;
    [[nodiscard]] int Y(int units) const;
    [[nodiscard]] QRect Rect(int x, int y, int width, int height) const;
    [[nodiscard]] QSize Size(int width, int height) const;

    [[nodiscard]] int baseX() const { return baseX_; }
    [[nodiscard]] int baseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

}  // namespace shell
