// The ten tiers of the mod. A tier's Tag ("1" to "10") is its only
// identifier; tier 10 is the plain game.
#pragma once

#include <array>
#include <string_view>

namespace kelvaro {

struct Tier {
    int index;
    std::string_view tag;
    std::string_view caption;
    std::string_view description;
};

inline constexpr int kTierCount = 10;
inline constexpr int kPlainGameTier = 10;

// Ordered from tier 10 down to tier 1: the order in which a Tag is matched.
extern const std::array<Tier, kTierCount> kTiers;

// The catalogue entry of option `index` (1 to 10).
const Tier& TierAt(int index);

}  // namespace kelvaro
