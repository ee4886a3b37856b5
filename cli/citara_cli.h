// The citara command-line tool: the source forms without a host. It loads a saved-data text into
// a fresh control of the named kind, exactly as a host's SavedData write does, and prints what
// the control's members return.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace citara {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the input could not be read or loaded, or failed the check
inline constexpr int kExitUsage = 2;    // the command line is wrong

// Runs the tool with `args` (without the program name), reading a saved-data text from `in` when
// no file (or "-") is named. Returns the exit status.
int RunCitara(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace citara
