#include "frame.h"

namespace kelvaro {

bool HighContrastOn() {
    HIGHCONTRASTA highContrast = {};
    highContrast.cbSize = sizeof highContrast;
    return ReadSystemParameter(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace kelvaro
