#pragma once
// Dialog units to pixels for a given dialog font, computed as the dialog manager does
// when it makes a dialog from its template, so a layout redone after a change of
// resolution lands where a dialog made at that resolution would have it.
#include "platform/win32/win32_api.h"

namespace win32ui {

struct BaseUnits {
    int x = 0;  // average width of the Latin letters
    int y = 0;  // character height
};

// The extent of "a".."z" "A".."Z" over 26, halved with rounding up; the font's height.
BaseUnits MeasureBaseUnits(HFONT font);

// A rectangle in dialog units as pixels: x and width scale by base x / 4, y and height
// by base y / 8, each value rounded on its own. right and bottom hold width and height.
RECT UnitsToPixels(BaseUnits units, int x, int y, int width, int height);

}  // namespace win32ui
