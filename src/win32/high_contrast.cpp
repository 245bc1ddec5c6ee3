#include "frame.h"

namespace kelvaro {

bool HighContrastOn() {
    HIGHCONTRASTA highContrast = {};
    highContrast.cbSize = sizeof highContrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace kelvaro
