#pragma once
// The dialog's picture filling its frame at any size: the bitmap the static control
// loaded from the template is kept as the source, and the control shows a copy scaled
// smoothly to cover its client area without distortion, centred, the overflow cut off
// (the art keeps its subject clear of the edges), as the Linux build draws it.
#include "ui/win32/gdi_handles.h"

namespace win32ui {

class FittedPicture {
public:
    FittedPicture() = default;
    FittedPicture(const FittedPicture&) = delete;
    FittedPicture& operator=(const FittedPicture&) = delete;

    // Takes over the bitmap `control` (an SS_BITMAP static) holds and fits it.
    void Attach(HWND control);
    // Scales the source anew to the control's current client size.
    void Fit();

private:
    HWND m_control = nullptr;
    UniqueBitmap m_source;
    UniqueBitmap m_shown;
};

// The part of a source of `sourceWidth` x `sourceHeight` that, scaled by one factor
// both ways, covers `width` x `height` exactly: the whole of one dimension, the middle
// of the other. right and bottom hold width and height.
RECT CoverCrop(int sourceWidth, int sourceHeight, int width, int height);

}  // namespace win32ui
