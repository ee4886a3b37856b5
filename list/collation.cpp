#include "list/collation.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "widgets/unicode.h"

namespace citara {
namespace {

struct FoldRow {
  char32_t cp;
  std::uint32_t offset;  // into kFoldText
  std::uint8_t length;   // bytes; 0: the code point folds to nothing
};

struct LowerRow {
  char32_t cp, lower;
};

#include "list/fold_table.inc"

template <class Row, std::size_t N>
const Row* FindRow(const Row (&rows)[N], char32_t cp) {
  const Row* row = std::lower_bound(std::begin(rows), std::end(rows), cp, [](const Row& r, char32_t value) { return r.cp < value; });
  return row != std::end(rows) && row->cp == cp ? row : nullptr;
}

}  // namespace

void AppendSortFold(std::string& out, std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {  // ASCII: A-Z lowered, controls dropped; a run of it goes out in one piece
      std::size_t end = pos;
      while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
      const std::size_t from = out.size();
      out.append(text, pos, end - pos);
      std::size_t kept = from;
      for (std::size_t i = from; i < out.size(); ++i) {
        const char ch = out[i];
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) continue;
        out[kept++] = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + ('a' - 'A')) : ch;
      }
      out.resize(kept);
      pos = end;
      continue;
    }
    const std::size_t start = pos;
    const char32_t cp = DecodeUtf8(text, pos);
    if (const FoldRow* row = FindRow(kFoldRows, cp)) {
      out.append(kFoldText + row->offset, row->length);
    } else {
      out.append(text, start, pos - start);
    }
  }
}

void AppendSortLower(std::string& out, std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : static_cast<char>(c);
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t cp = DecodeUtf8(text, pos);
    if (const LowerRow* row = FindRow(kLowerRows, cp)) AppendUtf8(out, row->lower);
    else out.append(text, start, pos - start);
  }
}

int CompareForSort(std::string_view a, std::string_view b) {
  std::string x, y;
  AppendSortFold(x, a);
  AppendSortFold(y, b);
  if (const int c = x.compare(y); c != 0) return c;
  x.clear();
  y.clear();
  AppendSortLower(x, a);
  AppendSortLower(y, b);
  if (const int c = x.compare(y); c != 0) return c;
  return a.compare(b);
}

std::string_view SortFoldUnicodeVersion() { return kFoldUnicodeVersion; }

}  // namespace citara
