#pragma once
// Keeps the game process on processors 0 to 3 while the "AllCores" switch is on.

#include <cstdint>
#include <string>

#include "platform/Processes.h"
#include "platform/Text.h"

namespace qvn {
class TSQLConfigFile;
}

namespace qvn::gameclient {

inline constexpr const char* GameProcessName = "Client.exe";

// The identifier of the first process in a system snapshot whose image name equals
// imageName (letter case ignored by the ANSI code page's rules; on the NT family only the
// file-name part of imageName is compared), or -1.
std::int64_t FindProcessId(platform::IProcessService& processes,
                           const platform::ITextServices& text, const std::string& imageName);

// One tick of the keeper: when "AllCores" reads true and switchEnabled (the check box is
// enabled), finds the game process and sets its affinity to processors 0 to 3 when it
// differs. Every failure ends the tick quietly; only settings errors propagate.
void AffinityTick(TSQLConfigFile& settings, bool switchEnabled,
                  platform::IProcessService& processes, const platform::ITextServices& text);

}  // namespace qvn::gameclient
