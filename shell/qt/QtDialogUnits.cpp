#include "shell/qt/QtDialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace shell {

namespace {

// Horizontal units are a quarter, vertical ones an eighth of the font's base unit.
constexpr int kUnitsPerBaseX = 4;
constexpr int kUnitsPerBaseY = 8;

// Rounds like the platform's MulDiv, which the dialog manager uses for the conversion.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

QtDialogUnits::QtDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width over the 52 letters, rounded half up, as the dialog manager measures it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QFont QtDialogUnits::TemplateFont(int pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(pointSize);
    return font;
}

int QtDialogUnits::X(int units) const {
    return MulDiv(units, baseX_, kUnitsPerBaseX);
}

int QtDialogUnits::Y(int units) const {
    return MulDiv(units, baseY_, kUnitsPerBaseY);
}

QRect QtDialogUnits::Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(width), Y(height)};
}

QSize QtDialogUnits::Size(int width, int height) const {
    return {X(width), Y(height)};
}

}  // namespace shell
