// Quoted: a value as an error or warning message shows it. Messages name the value a user gave,
// but a value may be megabytes long or hold control characters that a terminal would act on, so
// the message holds a short prefix of it between double quotes with every control character,
// quote and backslash escaped:
//
//   Quoted("a tale")             -> "\"a tale\""
//   Quoted("line\x1b[2J")        -> "\"line\\x1B[2J\""
//   Quoted(std::string(10e6,'x')) -> "\"xxx...x\"... (10000000 bytes)"  (the first 60 bytes)
//
// A byte that is not part of well-formed UTF-8 is shown as \xNN; characters are never cut in two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace citara {

inline constexpr std::size_t kQuotedPrefixBytes = 60;

std::string Quoted(std::string_view value, std::size_t maxBytes = kQuotedPrefixBytes);

}  // namespace citara
