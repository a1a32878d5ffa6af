#pragma once
// Dialog units to pixels, computed the way the Windows dialog manager does it, so that a
// layout written in dialog units keeps its proportions with whatever font it gets.
#include <QFont>
#include <QRect>

namespace qtui {

struct DialogBaseUnits {
    int x = 0;  // average width of the Latin letters
    int y = 0;  // font height
};

// The dialog font of a template: the face it names, then the faces that stand in for it
// on a system without it, at the template's point size.
QFont DialogFont(const char* templateFace, int points);

// Average width: the extent of "A".."Z" "a".."z" over 26, halved with rounding up;
// height: the font's ascent plus descent.
DialogBaseUnits MeasureBaseUnits(const QFont& font);

// MulDiv: number * numerator / denominator, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator);

// A rectangle in dialog units as pixels: x and width scale by base x / 4, y and height
// by base y / 8, each value on its own.
QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height);

}  // namespace qtui
