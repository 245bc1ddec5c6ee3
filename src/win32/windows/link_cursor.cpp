#include "link_cursor.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kelvaro {

namespace {

constexpr int kSize = 32;

// '#' black, 'o' white, '.' transparent.
constexpr std::array<std::string_view, kSize> kHand = {
    "................................", "................................",
    "................................", "................###.............",
    "...............#ooo#............", "...............#ooo#............",
    "...............#ooo#............", "...............#ooo#............",
    "...............#ooo#............", "...............#ooo###..........",
    "...............#ooo#oo###.......", "...............#ooo#oo#oo##.....",
    "...............#ooo#oo#oo#o#....", "...........##..#ooo#oo#oo#oo#...",
    "..........#oo#.#ooo#oo#oo#oo#...", "..........#ooo##ooo#oo#oo#oo#...",
    "...........#ooo#oooooooooooo#...", "...........#oooooooooooooooo#...",
    "............#ooooooooooooooo#...", "............#ooooooooooooooo#...",
    ".............#oooooooooooooo#...", ".............#ooooooooooooo#....",
    "..............#oooooooooooo#....", "..............#oooooooooooo#....",
    "...............#oooooooooo#.....", "...............#oooooooooo#.....",
    "...............############.....", "................................",
    "................................", "................................",
    "................................", "................................",
};

constexpr bool EveryRowFull() {
    for (std::string_view row : kHand) {
        if (row.size() != kSize) return false;
    }
    return true;
}
static_assert(EveryRowFull(), "every row holds 32 pixels");
static_assert(kHand[kLinkCursorHotSpotY][kLinkCursorHotSpotX] == '#',
              "the hot spot sits on the tip of the finger");

}  // namespace

HCURSOR CreateLinkCursor(HINSTANCE instance) {
    // One bit per pixel, rows of four bytes, the leftmost pixel in the top bit.
    // AND 1 keeps the screen; AND 0 with XOR 0 paints black, with XOR 1 white.
    std::array<std::uint8_t, kSize * kSize / 8> andPlane{};
    std::array<std::uint8_t, kSize * kSize / 8> xorPlane{};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const char pixel = kHand[y][x];
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
            const int at = y * kSize / 8 + x / 8;
            if (pixel == '.') andPlane[at] |= bit;
            if (pixel == 'o') xorPlane[at] |= bit;
        }
    }
    return CreateCursor(instance, kLinkCursorHotSpotX, kLinkCursorHotSpotY, kSize, kSize,
                        andPlane.data(), xorPlane.data());
}

}  // namespace kelvaro
