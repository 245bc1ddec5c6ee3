#include "start_options.h"

#include "texts.h"
#include "tiers.h"

namespace kelvaro {

namespace {

// The index of the tier with exactly this Tag, or 0.
int TierIndex(std::string_view tag) {
    for (const Tier& tier : kTiers) {
        if (tier.tag == tag) return tier.index;
    }
    return 0;
}

}  // namespace

StartOptions ReadStartOptions(std::string_view commandLine) {
    StartOptions options;
    while (!commandLine.empty()) {
        const size_t blank = commandLine.find_first_of(" \t");
        const std::string_view word = commandLine.substr(0, blank);
        if (word == texts::kRestartedOption) {
            options.restarted = true;
        } else if (word.starts_with(texts::kStartTierOption)) {
            options.tier = TierIndex(word.substr(texts::kStartTierOption.size()));
        }
        commandLine.remove_prefix(blank == std::string_view::npos ? word.size() : blank + 1);
    }
    return options;
}

std::string RestartCommandLine(std::string_view tag) {
    std::string commandLine(texts::kRestartedOption);
    if (!tag.empty()) commandLine += " " + std::string(texts::kStartTierOption) + std::string(tag);
    return commandLine;
}

}  // namespace kelvaro
