// What citara reads: a file or standard input, as UTF-8 text. A UTF-8 byte-order mark is dropped
// and a UTF-16 text (told by its byte-order mark) is converted; anything else that is not UTF-8
// text (a NUL byte, a byte no UTF-8 character starts with) is refused, since a NUL ended the
// saved data silently and other bytes would reach the entries as they are. Inputs larger than
// kMaxInputBytes are refused before they are read whole, so that memory stays bounded.
#pragma once

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace citara {

inline constexpr std::size_t kMaxInputBytes = 256u << 20;  // 256 MiB

// An input that cannot be read or is not text; the message names it and says why.
class InputError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "standard input" for "-", otherwise the quoted path.
std::string InputName(std::string_view path);

// The text of `path`, or of `standardInput` when `path` is "-". Throws InputError.
std::string ReadInput(std::string_view path, std::FILE* standardInput);

// The checks and conversions above on bytes already read: the UTF-8 text. Throws InputError,
// naming `name` in its message.
std::string TextOfBytes(std::string bytes, std::string_view name);

}  // namespace citara
