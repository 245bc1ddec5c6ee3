#include <gtest/gtest.h>

#include "number.h"

namespace kelvaro {
namespace {

TEST(NumberFromText, ReadsPlainDecimalsOnly) {
    struct Row {
        const char* text;
        std::optional<double> value;
    } rows[] = {
        {"10", 10},
        {"1", 1},
        {"-1", -1},
        {"3.5", 3.5},
        {"0.25", 0.25},
        {"5.", 5},
        {".5", 0.5},
        {"007", 7},
        {"", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1.2.3", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1e2", std::nullopt},
        {"0x1", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(NumberFromText(row.text), row.value) << row.text;
}

}  // namespace
}  // namespace kelvaro
