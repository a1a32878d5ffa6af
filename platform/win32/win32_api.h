#pragma once
// <windows.h> for this layer and the Windows front-end. The platform interfaces use
// plain names (GetDriveType, LoadString, MessageBox) that the system headers turn into
// macros for their A and W variants; the macros go, and the code names the W calls
// (text crosses to the system in UTF-16 only: platform/win32/win32_wide_text.h).
#include <windows.h>

#undef GetDriveType
#undef LoadString
#undef MessageBox
