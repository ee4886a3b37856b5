#include "core/ini_list.h"

namespace citara {
namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// True when `line` starts with name + "=" under the ASCII-case-insensitive comparison.
bool StartsWithKey(std::string_view line, std::string_view name) {
  if (line.size() < name.size() + 1 || line[name.size()] != '=') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (AsciiLower(line[i]) != AsciiLower(name[i])) return false;
  }
  return true;
}

}  // namespace

std::string TIniList::Text() const {
  std::size_t size = 0;
  for (const std::string& line : lines_) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TIniList::SetText(std::string_view text) {
  lines_.clear();
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  // One pass over the bytes (find_first_of with a set would look each byte up in the set).
  const std::size_t size = text.size();
  std::size_t start = 0;
  while (start < size) {
    std::size_t end = start;
    while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
    lines_.emplace_back(text.substr(start, end - start));
    if (end == size) break;
    start = end + ((text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ? 2 : 1);
  }
}

std::string GetListValue(const TIniList& list, std::string_view name, std::string_view fallback) {
  for (const std::string& line : list.Lines()) {
    if (StartsWithKey(line, name)) return line.substr(name.size() + 1);
  }
  return std::string(fallback);
}

bool HasListValue(const TIniList& list, std::string_view name) {
  for (const std::string& line : list.Lines()) {
    if (StartsWithKey(line, name)) return true;
  }
  return false;
}

void SetListValue(TIniList& list, std::string_view name, std::string_view value) {
  std::string entry;
  entry.reserve(name.size() + 1 + value.size());
  entry.append(name).append("=").append(value);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    if (StartsWithKey(list[i], name)) {
      list[i] = std::move(entry);
      return;
    }
  }
  list.Add(std::move(entry));
}

}  // namespace citara
