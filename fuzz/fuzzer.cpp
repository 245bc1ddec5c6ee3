// The libFuzzer entry of one target, chosen by KELVARO_FUZZ_TARGET at build time.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "checks.h"

namespace {

kelvaro::fuzz::Check FindCheck() {
    for (const kelvaro::fuzz::Target& target : kelvaro::fuzz::kTargets) {
        if (std::strcmp(target.name, KELVARO_FUZZ_TARGET) == 0) return target.check;
    }
    std::fprintf(stderr, "no fuzz target named %s\n", KELVARO_FUZZ_TARGET);
    std::abort();
}

const kelvaro::fuzz::Check check = FindCheck();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string fault = check(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s: %s\n", KELVARO_FUZZ_TARGET, fault.c_str());
        std::abort();
    }
    return 0;
}
