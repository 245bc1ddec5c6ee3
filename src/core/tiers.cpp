#include "tiers.h"

namespace kelvaro {

const std::array<Tier, kTierCount> kTiers = {{
    {10, "10", "Tech level 10", "Normal Generals, no build or train restrictions."},
    {9, "9", "Tech level 9",
     "All technology except for the superweapons can be built and trained."},
    {8, "8", "Tech level 8",
     "Everything is available except for the heroes, high tech vehicles (Tomahawk, Scud "
     "Launcher and Nuke Cannon) and Super Weapons."},
    {7, "7", "Tech level 7",
     "From this Tech level and higher you can build the Propaganda Center, Strategy Center and "
     "Palace so you are able to build medium tech units. A lot of upgrades are available too."},
    {6, "6", "Tech level 6",
     "From Tech level 6 you can build aircrafts. The anti air vehicles are also enabled (Quad "
     "Cannon and Gattling Tank)."},
    {5, "5", "Tech level 5",
     "This is like Tech level 4 but now some more vehicles and upgrades are available."},
    {4, "4", "Tech level 4",
     "All defense buildings are avaiable plus the basic vehicles from the War Factory/Arms "
     "Dealer."},
    {3, "3", "Tech level 3",
     "Everything from Tech level 2 plus the basic defense buildings are available."},
    {2, "2", "Tech level 2",
     "This is same as Tech level 1 but now, infantry can do what they usually can do like "
     "Capturing Buildings, plus radar is available."},
    {1, "1", "Tech level 1",
     "Tech level 1 allows you to play with basic infantry only, no upgrades and special "
     "infantry abilities like Building Capture are available."},
}};

const Tier& TierAt(int index) {
    return kTiers[kTierCount - index];
}

}  // namespace kelvaro
