#include "flashwizard/ui/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace flashwizard {

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

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width over the 52 letters, rounded half up, as the dialog manager measures it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QFont DialogUnits::TemplateFont(int pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(pointSize);
    return font;
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX_, kUnitsPerBaseX);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY_, kUnitsPerBaseY);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return {X(x), Y(y), X(width), Y(height)};
}

QSize DialogUnits::Size(int width, int height) const {
    return {X(width), Y(height)};
}

}  // namespace flashwizard
