// Every input in the fuzz corpus, run through its target's check: what the
// fuzzer once found stays fixed, in the native and the Windows build alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "checks.h"

namespace kelvaro::fuzz {

// Names the target in test listings instead of dumping its bytes.
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}

namespace {

class FuzzCorpus : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzCorpus, EveryInputPassesItsCheck) {
    const std::filesystem::path folder =
        std::filesystem::path(KELVARO_FUZZ_CORPUS) / GetParam().name;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty()) << folder;

    for (const std::filesystem::path& input : inputs) {
        std::ifstream stream(input, std::ios::binary);
        ASSERT_TRUE(stream) << input;
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                        std::istreambuf_iterator<char>());
        EXPECT_EQ(GetParam().check(bytes.data(), bytes.size()), "") << input.filename();
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kelvaro::fuzz
