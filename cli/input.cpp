#include "cli/input.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/quoted.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

// UTF-16 (after its byte-order mark) as UTF-8.
std::string FromUtf16(std::string_view bytes, bool bigEndian, std::string_view name) {
  if (bytes.size() % 2 != 0) throw InputError(std::string(name) + " is UTF-16 text with an odd number of bytes");
  std::string out;
  out.reserve(bytes.size() / 2 * 3 / 2);
  const auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 2 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      throw InputError(std::string(name) + " is UTF-16 text with a lone surrogate at byte " + std::to_string(i + 2));
    } else if (cp == 0) {
      throw InputError(std::string(name) + " holds a NUL character at byte " + std::to_string(i + 2) + ": it is not text");
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string TooLarge(std::string_view name) {
  return std::string(name) + " is larger than " + std::to_string(kMaxInputBytes >> 20) +
         " MiB, the most citara reads";
}

}  // namespace

std::string InputName(std::string_view path) { return path == "-" ? std::string("standard input") : Quoted(path); }

std::string TextOfBytes(std::string bytes, std::string_view name) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);  // an editor's byte-order mark: not data
  else if (bytes.starts_with("\xFF\xFE")) return FromUtf16(std::string_view(bytes).substr(2), false, name);
  else if (bytes.starts_with("\xFE\xFF")) return FromUtf16(std::string_view(bytes).substr(2), true, name);
  if (const std::size_t nul = bytes.find('\0'); nul != std::string::npos) {
    throw InputError(std::string(name) + " holds a NUL byte at byte " + std::to_string(nul + 1) +
                     ": it is not text (UTF-16 text needs its byte-order mark)");
  }
  if (const std::size_t bad = FirstNonUtf8(bytes); bad != std::string::npos) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[bad]));
    throw InputError(std::string(name) + " is not UTF-8 text (byte " + hex + " at byte " + std::to_string(bad + 1) +
                     "); save it as UTF-8 or UTF-16");
  }
  return bytes;
}

std::string ReadInput(std::string_view path, std::FILE* standardInput) {
  const std::string name = InputName(path);
  std::FILE* file = standardInput;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(nullptr, std::fclose);
  if (path != "-") {
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(std::string(path)), ec)) {
      throw InputError("cannot read " + name + ": it is a folder");
    }
    opened.reset(std::fopen(std::string(path).c_str(), "rb"));
    if (!opened) throw InputError("cannot read " + name + ": " + std::strerror(errno));
    file = opened.get();
  }
  std::string bytes;
  if (path != "-") {
    // A file's text is read into room of its size, not into room grown step by step.
    std::error_code ec;
    const auto size = std::filesystem::file_size(std::filesystem::path(std::string(path)), ec);
    if (!ec && size <= kMaxInputBytes) bytes.reserve(static_cast<std::size_t>(size) + 1);
  }
  char buffer[1 << 16];
  errno = 0;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (bytes.size() + got > kMaxInputBytes) throw InputError(TooLarge(name));
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file)) {
    throw InputError("cannot read " + name + ": " + (errno ? std::strerror(errno) : "read error"));
  }
  return TextOfBytes(std::move(bytes), name);
}

}  // namespace citara
