#include "win_registry.h"

namespace kelvaro {

namespace {

// The predefined keys are 32-bit values with the top bit set; as handles they
// are sign-extended, which matters in a 64-bit program.
HKEY PredefinedKey(std::uint32_t hive) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(hive)));
}

// The game's installer is a 32-bit program: a 64-bit launcher reads the same
// 32-bit view of the registry as the 32-bit one does.
REGSAM AccessInOurView(std::uint32_t access) {
#ifdef _WIN64
    return access | KEY_WOW64_32KEY;
#else
    return access;
#endif
}

}  // namespace

long WinRegistry::OpenKey(std::uint32_t hive, const std::string& subKey, std::uint32_t options,
                          std::uint32_t access, RegHandle* key) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(PredefinedKey(hive), subKey.c_str(), options,
                                AccessInOurView(access), &opened);
    *key = result == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(opened) : 0;
    return result;
}

long WinRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                             unsigned char* data, std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &valueType,
                                   data, &valueSize);
    *type = valueType;
    *size = valueSize;
    return result;
}

void WinRegistry::CloseKey(RegHandle key) {
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace kelvaro
