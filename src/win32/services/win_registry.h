// The registry's own calls (advapi32, narrow forms), in the 32-bit view that
// the game's installer writes to.
#pragma once

#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

class WinRegistry : public Registry {
  public:
    long OpenKey(std::uint32_t hive, const std::string& subKey, std::uint32_t options,
                 std::uint32_t access, RegHandle* key) override;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* size) override;
    void CloseKey(RegHandle key) override;
};

}  // namespace kelvaro
