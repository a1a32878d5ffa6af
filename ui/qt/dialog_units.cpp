#include "ui/qt/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace qtui {

QFont DialogFont(const char* templateFace, int points) {
    QFont font;
    // The template's face when it is installed; otherwise its Latin name, then the
    // proportional Japanese Gothic that is closest in metrics.
    font.setFamilies({QString::fromUtf8(templateFace), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPA Pゴシック")});
    font.setPointSize(points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int extent = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.x = (extent / 26 + 1) / 2;
    units.y = metrics.ascent() + metrics.descent();
    return units;
}

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height) {
    return QRect(MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(width, units.x, 4), MulDiv(height, units.y, 8));
}

}  // namespace qtui
