#pragma once
// The resolution a window is shown at and the system sizes that go with it. The
// per-monitor calls exist from Windows 10 on and are looked up when needed, so the
// program still starts on older systems; there the system-wide values stand in.
#include "platform/win32/win32_api.h"

namespace win32ui {

UINT WindowDpi(HWND window);

// GetSystemMetrics as a window at `dpi` sees it.
int SystemMetricAt(int index, UINT dpi);

// The outer size of a window with these styles whose client area is `client` at `dpi`.
SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// From Windows 10 1703 on the dialog manager rescales a per-monitor dialog on its own
// when its resolution changes, by proportion from the old pixel sizes; this turns that
// off for a dialog that lays itself out anew from its template.
void TakeOverDpiScaling(HWND dialog);

}  // namespace win32ui
