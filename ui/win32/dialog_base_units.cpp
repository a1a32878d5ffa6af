#include "ui/win32/dialog_base_units.h"

#include <iterator>

#include "ui/win32/gdi_handles.h"

namespace win32ui {

BaseUnits MeasureBaseUnits(HFONT font) {
    static constexpr wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const ScreenDc screen;
    const Selection selected(screen.Get(), font);
    TEXTMETRICW metrics = {};
    SIZE extent = {};
    GetTextMetricsW(screen.Get(), &metrics);
    GetTextExtentPoint32W(screen.Get(), kAlphabet, std::size(kAlphabet) - 1, &extent);
    return {(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT UnitsToPixels(BaseUnits units, int x, int y, int width, int height) {
    return {MulDiv(x, units.x, 4), MulDiv(y, units.y, 8), MulDiv(width, units.x, 4), MulDiv(height, units.y, 8)};
}

}  // namespace win32ui
