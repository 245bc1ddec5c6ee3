#include <gtest/gtest.h>

#include <optional>

#include "launcher_rig.h"

namespace kelvaro::testing {
namespace {

namespace fs = std::filesystem;

const char* const kDescriptions[] = {
    "",
    "Tech level 1 allows you to play with basic infantry only, no upgrades and special infantry "
    "abilities like Building Capture are available.",
    "This is same as Tech level 1 but now, infantry can do what they usually can do like Capturing "
    "Buildings, plus radar is available.",
    "Everything from Tech level 2 plus the basic defense buildings are available.",
    "All defense buildings are avaiable plus the basic vehicles from the War Factory/Arms Dealer.",
    "This is like Tech level 4 but now some more vehicles and upgrades are available.",
    "From Tech level 6 you can build aircrafts. The anti air vehicles are also enabled (Quad "
    "Cannon and Gattling Tank).",
    "From this Tech level and higher you can build the Propaganda Center, Strategy Center and "
    "Palace so you are able to build medium tech units. A lot of upgrades are available too.",
    "Everything is available except for the heroes, high tech vehicles (Tomahawk, Scud Launcher "
    "and Nuke Cannon) and Super Weapons.",
    "All technology except for the superweapons can be built and trained.",
    "Normal Generals, no build or train restrictions.",
};

std::string ArchiveMessage(const LauncherRig& rig, int tier) {
    return rig.DataFolder() + "Kelvaro" + std::to_string(tier) +
           ".big could not be found, make sure the Kelvaro files are in the right folder.";
}

// The archive message comes first and begins with the archive's full path;
// the description follows. Tier 10 needs no archive.
TEST(TierSelection, ShowsTheArchiveMessageThenTheDescription) {
    LauncherRig rig;
    rig.Run({"start-up"});
    for (int tier = 1; tier <= 10; ++tier) {
        const std::string archive = "Kelvaro" + std::to_string(tier) + ".big";
        fs::remove(rig.install.UserData(archive));
        rig.journal.clear();
        rig.frm->TechClick(tier);
        const std::string message = tier == 10 ? "" : ArchiveMessage(rig, tier);
        const Journal expected = tier == 10
                                     ? Journal{std::string("Label1 ") + kDescriptions[tier]}
                                     : Journal{"lookup <data>" + archive, "critical: " + message,
                                               std::string("Label1 ") + kDescriptions[tier]};
        EXPECT_EQ(rig.journal, expected) << "tier " << tier;
        EXPECT_EQ(rig.frm->SelectedLevel, std::to_string(tier));
        EXPECT_EQ(rig.frm->ArchiveError, message) << "tier " << tier;
    }
}

TEST(TierSelection, OnlyANormalFileCountsAsTheArchive) {
    struct Row {
        const char* name;
        std::optional<Entry> answer;  // none: a real folder stands in the archive's place
    } rows[] = {
        {"a folder in its place", std::nullopt},
        {"a hidden file", Entry::Other},
        {"a failed look-up", Entry::Unknown},
    };
    for (const Row& row : rows) {
        LauncherRig rig;
        if (row.answer) rig.files.answers["<data>Kelvaro3.big"] = *row.answer;
        if (!row.answer) {
            fs::remove(rig.install.UserData("Kelvaro3.big"));
            fs::create_directory(rig.install.UserData("Kelvaro3.big"));
        }
        rig.Run({"start-up"});
        rig.frm->TechClick(3);
        EXPECT_EQ(rig.frm->ArchiveError, ArchiveMessage(rig, 3)) << row.name;
        EXPECT_EQ(rig.view.label1, kDescriptions[3]) << row.name;
    }
}

TEST(TierSelection, ALaterSelectionClearsTheArchiveError) {
    for (int next : {10, 4}) {
        LauncherRig rig;
        fs::remove(rig.install.UserData("Kelvaro3.big"));
        rig.Run({"start-up"});
        rig.frm->TechClick(3);
        rig.frm->TechClick(next);
        EXPECT_EQ(rig.frm->ArchiveError, "") << "then tier " << next;
        rig.frm->Command1Click();
        EXPECT_EQ(rig.processes.started.size(), 1u) << "then tier " << next;
    }
}

}  // namespace
}  // namespace kelvaro::testing
