#pragma once
// The Win32 API without the A/W macros whose names Core and Screen use as method names.
#include <windows.h>

#undef LoadCursor
#undef SetCursor
#undef FindWindow
#undef RegisterClass
