// The launcher's command line. Players start it with none; a launcher that
// starts itself again as administrator tells the new one so, and which tier's
// "Start Generals" it goes on with. Read as any outside input: an option it
// does not know, or a tier that is not one of the ten, is ignored.
#pragma once

#include <string>
#include <string_view>

namespace kelvaro {

struct StartOptions {
    bool restarted = false;  // started again as administrator: it never offers that itself
    int tier = 0;            // the tier whose "Start Generals" goes on, or 0
};

StartOptions ReadStartOptions(std::string_view commandLine);

// The command line of the launcher started again, going on with the start of
// the tier with this Tag, or with none when it is empty.
std::string RestartCommandLine(std::string_view tag);

}  // namespace kelvaro
