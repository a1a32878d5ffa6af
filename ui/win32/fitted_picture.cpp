#include "ui/win32/fitted_picture.h"

namespace win32ui {
namespace {

// A 24-bit top-down bitmap: no alpha channel, which the version 6 static control would
// otherwise blend with and take a copy of.
UniqueBitmap ScaledCopy(HBITMAP source, int width, int height) {
    BITMAP info = {};
    if (!GetObjectW(source, sizeof info, &info) || width <= 0 || height <= 0) return UniqueBitmap();
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    const ScreenDc screen;
    void* bits = nullptr;
    UniqueBitmap scaled(CreateDIBSection(screen.Get(), &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!scaled.Valid()) return scaled;

    const MemoryDc from(screen.Get());
    const MemoryDc to(screen.Get());
    const Selection fromSelected(from.Get(), source);
    const Selection toSelected(to.Get(), scaled.Get());
    // Halftone averages the source pixels under each target pixel: smooth in both
    // directions, where the default drops or doubles whole rows and columns.
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    const RECT crop = CoverCrop(info.bmWidth, info.bmHeight, width, height);
    StretchBlt(to.Get(), 0, 0, width, height, from.Get(), crop.left, crop.top, crop.right, crop.bottom, SRCCOPY);
    GdiFlush();
    return scaled;
}

}  // namespace

RECT CoverCrop(int sourceWidth, int sourceHeight, int width, int height) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return {0, 0, sourceWidth, sourceHeight};
    int shownWidth = sourceWidth;
    int shownHeight = sourceHeight;
    // Compared as products: the frame wider than the source in proportion shows the
    // source's full width and the middle of its height, and the other way round.
    if (static_cast<long long>(width) * sourceHeight > static_cast<long long>(sourceWidth) * height)
        shownHeight = MulDiv(sourceWidth, height, width);
    else
        shownWidth = MulDiv(sourceHeight, width, height);
    return {(sourceWidth - shownWidth) / 2, (sourceHeight - shownHeight) / 2, shownWidth, shownHeight};
}

void FittedPicture::Attach(HWND control) {
    m_control = control;
    // The control never frees the bitmap it loaded from the template; from here on it
    // is ours, the source of every scaled copy.
    m_source = UniqueBitmap(reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    Fit();
}

void FittedPicture::Fit() {
    if (!m_control || !m_source.Valid()) return;
    RECT client;
    GetClientRect(m_control, &client);
    UniqueBitmap scaled = ScaledCopy(m_source.Get(), client.right, client.bottom);
    if (!scaled.Valid()) return;
    // What the control returns is the bitmap it showed: the source or the copy before;
    // both stay owned here, the copy until the new one has replaced it.
    SendMessageW(m_control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.Get()));
    m_shown = std::move(scaled);
}

}  // namespace win32ui
