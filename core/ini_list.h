// TIniList: the list of name=value text lines that carries a control's saved data.
//
// An unsorted list of lines that keeps duplicates. Entries written by SetListValue have the form
// name + "=" + value; other lines (continuation lines of a multi-line value) may stand between them.
// Names are matched ignoring the case of the ASCII letters A to Z only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace citara {

class TIniList {
 public:
  std::size_t Count() const { return lines_.size(); }
  const std::string& operator[](std::size_t i) const { return lines_[i]; }
  std::string& operator[](std::size_t i) { return lines_[i]; }
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Every line followed by CR LF, the last one included; empty for an empty list.
  std::string Text() const;

  // Replaces the content by the lines of `text`: a line ends at CR LF, a lone CR or a lone LF; a
  // final line break makes no extra empty line; the text ends at its first NUL character.
  void SetText(std::string_view text);

 private:
  std::vector<std::string> lines_;
};

// The value after the first "=" of the first line that begins with name + "=" (ASCII letters
// compared without case), or `fallback` when no line does. Example: lines "Title:=a" and
// "title:=b", name "TITLE:" -> "a".
std::string GetListValue(const TIniList& list, std::string_view name, std::string_view fallback);

// Replaces the first line that begins with name + "=" by name + "=" + value, or appends that line.
// A value holding line breaks stays one entry until the list is turned into text.
void SetListValue(TIniList& list, std::string_view name, std::string_view value);

// True when some line begins with name + "=" (the presence test behind GetListValue).
bool HasListValue(const TIniList& list, std::string_view name);

}  // namespace citara
