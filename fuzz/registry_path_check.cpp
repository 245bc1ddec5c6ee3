#include <algorithm>
#include <cstring>
#include <vector>

#include "checks.h"
#include "memory_registry.h"
#include "reference.h"
#include "reg_keys.h"

namespace kelvaro::fuzz {

namespace {

// What the registry holds for the path, chosen by the input's first byte.
enum class Setup {
    Value,       // the value, under the path's own key and name
    Empty,       // nothing at all
    DeniedKey,   // the key, refusing every open
    OtherValue,  // the key, with a value of another name only
};

struct Input {
    Setup setup;
    std::uint32_t type;
    std::string path;
    std::vector<unsigned char> stored;
};

Input Parse(const std::uint8_t* data, std::size_t size) {
    Input input{Setup::Value, 0, {}, {}};
    if (size == 0) return input;
    input.setup = static_cast<Setup>(data[0] & 3);
    unsigned char type[4] = {};
    std::memcpy(type, data + 1, std::min<std::size_t>(size - 1, 4));
    input.type = LittleEndian32(type);
    const std::uint8_t* rest = data + std::min<std::size_t>(size, 5);
    const std::uint8_t* end = data + size;
    const std::uint8_t* zero = std::find(rest, end, 0);
    input.path.assign(rest, zero);
    if (zero != end) input.stored.assign(zero + 1, end);
    return input;
}

std::string Describe(const Input& input) {
    return Join("path ", Quoted(input.path), ", setup ",
                std::to_string(static_cast<int>(input.setup)), ", type ",
                std::to_string(input.type), ", ", std::to_string(input.stored.size()),
                " bytes stored: ");
}

// The calls must be one open with the full mask, then, when it succeeded, one
// query of the value name and one close.
std::string CheckCalls(const MemoryRegistry& registry, const ExpectedPath& expected, Setup setup) {
    const std::vector<MemoryRegistry::Call>& calls = registry.calls;
    if (!expected.hive) return calls.empty() ? "" : "an unknown hive reached the registry";
    if (calls.empty() || calls[0].what != "open") return "no open first";
    if (calls[0].hive != *expected.hive || calls[0].text != expected.keyPath ||
        calls[0].access != RegKeys::kAccessMask) {
        return Join("opened hive ", std::to_string(calls[0].hive), " key ", Quoted(calls[0].text),
                    " mask ", std::to_string(calls[0].access));
    }
    if (registry.OpenHandles() != 0) return "a key was left open";
    bool opened = calls.size() > 1;
    if (opened && (calls.size() != 3 || calls[1].what != "query" || calls[2].what != "close")) {
        return "calls after the open are not one query and one close";
    }
    if (opened && calls[1].text != expected.valueName) {
        return Join("queried ", Quoted(calls[1].text));
    }
    bool keyExists = setup == Setup::Value || setup == Setup::OtherValue;
    if (keyExists && !opened) return "an existing key was not opened";
    if (setup == Setup::DeniedKey && opened) return "a refused open went on to query";
    return std::string();
}

}  // namespace

std::string CheckRegistryPath(const std::uint8_t* data, std::size_t size) {
    Input input = Parse(data, size);
    ExpectedPath expected = ExpectedRegistryPath(input.path);

    // An unknown hive gets its value under HKEY_LOCAL_MACHINE: it must still not be read.
    std::uint32_t hive = expected.hive.value_or(0x80000002);
    MemoryRegistry registry;
    switch (input.setup) {
        case Setup::Value:
            registry.SetValue(hive, expected.keyPath, expected.valueName, input.type, input.stored);
            break;
        case Setup::Empty:
            break;
        case Setup::DeniedKey:
            registry.SetValue(hive, expected.keyPath, expected.valueName, input.type, input.stored);
            registry.DenyAccess(hive, expected.keyPath);
            break;
        case Setup::OtherValue:
            registry.SetValue(hive, expected.keyPath, Join(expected.valueName, "~"), input.type,
                              input.stored);
            break;
    }

    std::string text = RegKeys::ReadRegistryPath(registry, input.path);

    if (text.size() > RegKeys::kDataAreaSize) {
        return Join(Describe(input), "text of ", std::to_string(text.size()), " bytes");
    }
    std::string fault = CheckCalls(registry, expected, input.setup);
    if (!fault.empty()) return Join(Describe(input), fault);
    std::string wanted;
    if (expected.hive && input.setup == Setup::Value &&
        input.stored.size() <= RegKeys::kDataAreaSize) {
        wanted = ExpectedValueText(input.type, input.stored.data(), input.stored.size());
    }
    if (text != wanted) {
        return Join(Describe(input), "read ", Quoted(text), ", expected ", Quoted(wanted));
    }
    return std::string();
}

}  // namespace kelvaro::fuzz
