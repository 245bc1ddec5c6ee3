#include "pub_var.h"

namespace kelvaro::PubVar {

std::string GameFolder;

}  // namespace kelvaro::PubVar
