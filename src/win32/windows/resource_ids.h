// Identifiers of the executable's resources, shared by resources.rc and the code.
#pragma once

// The application icon: the group the windows load, and its one 32 x 32 image.
#define IDI_KELVARO 1
#define IDI_KELVARO_IMAGE 30001

// The banner across the top of the main window, a JPEG held as raw data.
#define IDR_BANNER 101
