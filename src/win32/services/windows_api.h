// Windows' headers as the launcher's Windows code takes them: the core's
// MessageBox interface keeps its name, and Windows' own box is called as
// MessageBoxA.
#pragma once

#include <windows.h>
#undef MessageBox
