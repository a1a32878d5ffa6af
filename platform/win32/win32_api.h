#pragma once
// <windows.h> for this layer and the Windows front-end. The platform interfaces use
// plain names (GetDriveType, LoadString, MessageBox) that the system headers turn into
// macros for their A and W variants; the macros go, and the code names the A calls.
#include <windows.h>

#undef GetDriveType
#undef LoadString
#undef MessageBox
