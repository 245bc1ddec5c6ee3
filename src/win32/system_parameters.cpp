#include "frame.h"

namespace kelvaro {

BOOL ReadSystemParameter(UINT action, UINT size, void* value) {
    return SystemParametersInfoA(action, size, value, 0);
}

}  // namespace kelvaro
