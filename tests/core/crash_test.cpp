#include <gtest/gtest.h>

#include "launcher_rig.h"

namespace kelvaro::testing {
namespace {

// A launcher killed after any change it makes to the game folder leaves a
// folder that the next run (start-up, then exit) brings back byte for byte.
TEST(CrashConsistency, NextRunRepairsAKillAfterEveryChange) {
    struct Row {
        const char* name;
        std::vector<std::string> before;
        std::vector<std::string> killed;
    } rows[] = {
        {"start-up", {}, {"start-up"}},
        {"substitution", {"start-up"}, {"2"}},
        {"substitution over another", {"start-up", "2"}, {"3"}},
        {"restore", {"start-up", "2"}, {"restore"}},
        {"exit", {"start-up", "2"}, {"quit"}},
        {"start-up over a substitution", {"start-up", "2"}, {"start-up"}},
    };
    for (const Row& row : rows) {
        int changes = 0;
        {
            LauncherRig rig;
            rig.Run(row.before);
            int before = rig.files.changes;
            rig.Run(row.killed);
            changes = rig.files.changes - before;
        }
        EXPECT_GT(changes, 0) << row.name;
        for (int k = 0; k <= changes; ++k) {
            LauncherRig rig;
            rig.Run(row.before);
            rig.files.killAt = rig.files.changes + k;
            try {
                rig.Run(row.killed);
                EXPECT_EQ(k, changes) << row.name << ": ran to its end";
            } catch (const Killed&) {
            }
            rig.files.killAt = -1;
            rig.Run({"start-up", "quit"});
            EXPECT_EQ(rig.GameTree(), rig.pristine) << row.name << ", killed after " << k;
        }
    }
}

}  // namespace
}  // namespace kelvaro::testing
