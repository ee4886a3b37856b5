// The citara command-line tool: the source forms without a host. It reads sources (saved-data
// texts as a host's SavedData holds them, or CSL-JSON documents of reference managers) and prints
// their entries, saved data, required-field checks or CSL-JSON. The commands, styles and formats
// are rows of tables in citara_cli.cpp: a new one is a new row.
#pragma once

#include <cstdio>
#include <iosfwd>
#include <span>
#include <string_view>

namespace citara {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // an input could not be read or loaded, failed the check, or output failed
inline constexpr int kExitUsage = 2;    // the command line is wrong

// Runs the tool with `args` (without the program name), reading from `in` where "-" (or no file)
// is named. Returns the exit status; every failure has its message on `err`.
int RunCitara(std::span<const std::string_view> args, std::FILE* in, std::ostream& out, std::ostream& err);

}  // namespace citara
