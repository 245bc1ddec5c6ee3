// The game's start: CreateProcessA, shown normally, never waited for.
#pragma once

#include <string>

#include "platform.h"
#include "windows_api.h"

namespace kelvaro {

class WinProcessStarter : public ProcessStarter {
  public:
    bool Start(const std::string& application, const std::string& commandLine,
               std::string* reason) override;
};

}  // namespace kelvaro
