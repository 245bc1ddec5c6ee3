// A registry held in memory, with the rules of the real one that the launcher
// meets: keys named case-insensitively, a trailing backslash naming the same
// key, an empty key path naming the hive itself, and data that must fit the
// caller's area.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform.h"

namespace kelvaro {

class MemoryRegistry : public Registry {
  public:
    static constexpr long kFileNotFound = 2;
    static constexpr long kAccessDenied = 5;
    static constexpr long kInvalidHandle = 6;
    static constexpr long kMoreData = 234;

    // Writes a value, creating its key.
    void SetValue(std::uint32_t hive, const std::string& keyPath, const std::string& name,
                  std::uint32_t type, std::vector<unsigned char> data);
    void SetString(std::uint32_t hive, const std::string& keyPath, const std::string& name,
                   const std::string& text);
    // Makes a key refuse every open, as a key without the needed rights does.
    void DenyAccess(std::uint32_t hive, const std::string& keyPath);

    long OpenKey(std::uint32_t hive, const std::string& subKey, std::uint32_t options,
                 std::uint32_t access, RegHandle* key) override;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* size) override;
    void CloseKey(RegHandle key) override;

    // Every call the launcher made, in order, for tests to inspect.
    struct Call {
        std::string what;  // "open", "query" or "close"
        std::uint32_t hive = 0;
        std::string text;  // the key path or value name as passed
        std::uint32_t access = 0;
    };
    std::vector<Call> calls;
    size_t OpenHandles() const { return open_.size(); }

  private:
    struct Value {
        std::uint32_t type;
        std::vector<unsigned char> data;
    };
    struct Key {
        bool denied = false;
        std::map<std::string, Value> values;  // by lower-case name
    };
    using KeyId = std::pair<std::uint32_t, std::string>;
    static KeyId Id(std::uint32_t hive, const std::string& keyPath);

    std::map<KeyId, Key> keys_;
    std::map<RegHandle, KeyId> open_;
    RegHandle nextHandle_ = 0x100;
};

}  // namespace kelvaro
