// A small, strict reader of the RTF that Citara writes, for the fuzzers: it reads one document back
// into its text and its italic run, so that a fuzzer can check that the writer's output gives back
// exactly the entry.
//
// It knows only what the writer may emit: groups, the header's control words, the font table
// (skipped as a destination), \tab, \uN followed by its one fallback character (\uc1), \i and \i0
// with \ai and \ai0 (italics for complex scripts, which must agree with \i wherever there is text),
// the escaped "\\", "\{" and "\}", and \par. Anything else, unbalanced braces or text after the
// closing brace, is a failure, reported as a message.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/citation.h"
#include "widgets/unicode.h"

namespace citara::fuzz {

struct ReadBack {
  Citation citation;   // the text read back and its italic run (bytes)
  std::string error;   // empty when the document was read
};

inline ReadBack ReadCitationRtf(std::string_view rtf) {
  ReadBack out;
  Citation& c = out.citation;
  const auto fail = [&out](std::string why) {
    out.error = std::move(why);
    return out;
  };
  static constexpr std::string_view kKnown[] = {"rtf",  "ansi", "ansicpg", "deff", "deflang", "fonttbl", "f",
                                                "fswiss", "fcharset", "viewkind", "uc", "pard", "rtlch",
                                                "ltrch", "fcs", "af", "afs", "fs", "par"};
  int depth = 0;
  int skipDepth = 0;         // inside the font table: its text is not body text
  bool italic = false, sawItalic = false, ended = false;
  bool complexItalic = false;  // \ai: italics for complex-script text
  char16_t highSurrogate = 0;  // the first unit of a pair, waiting for its second
  bool skipFallback = false;  // the character after \uN is the reader-without-Unicode fallback
  // A first unit without its second never comes from the writer; it is kept as it is, so that the
  // comparison with the entry reports it.
  const auto flushSurrogate = [&] {
    if (highSurrogate != 0) AppendUtf8(c.text, highSurrogate);
    highSurrogate = 0;
  };
  const auto appendUnit = [&](char16_t unit) {
    if (highSurrogate != 0 && unit >= 0xDC00 && unit <= 0xDFFF) {
      AppendUtf8(c.text, 0x10000 + ((char32_t{highSurrogate} - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate = 0;
      return;
    }
    flushSurrogate();
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      highSurrogate = unit;
    } else {
      AppendUtf8(c.text, unit);  // a lone U+DC80..U+DCFF gives back the invalid byte it stands for
    }
  };
  bool mismatch = false;  // text where \i and \ai disagree
  const auto text = [&](std::string_view bytes) {
    if (skipDepth != 0) return;
    flushSurrogate();
    mismatch = mismatch || italic != complexItalic;
    c.text += bytes;
  };
  for (std::size_t i = 0; i < rtf.size();) {
    const char ch = rtf[i];
    if (ended) {
      if (ch != '\r' && ch != '\n') return fail("text after the closing brace");
      ++i;
      continue;
    }
    if (skipFallback) {
      skipFallback = false;
      if (ch != '\\' && ch != '{' && ch != '}' && ch != '\r' && ch != '\n') {
        ++i;
        continue;
      }
    }
    if (ch == '{') {
      ++depth;
      ++i;
      if (skipDepth != 0) ++skipDepth;
      continue;
    }
    if (ch == '}') {
      if (depth == 0) return fail("a closing brace without its group");
      if (skipDepth != 0) --skipDepth;
      if (--depth == 0) ended = true;
      ++i;
      continue;
    }
    if (depth == 0) return fail("text before the document's group");
    if (ch == '\r' || ch == '\n') {
      ++i;
      continue;
    }
    if (ch != '\\') {
      text(rtf.substr(i, 1));
      ++i;
      continue;
    }
    // A control symbol or a control word.
    if (++i == rtf.size()) return fail("a backslash at the end");
    const char next = rtf[i];
    if (next == '\\' || next == '{' || next == '}') {
      text(rtf.substr(i, 1));
      ++i;
      continue;
    }
    const std::size_t wordStart = i;
    while (i < rtf.size() && ((rtf[i] >= 'a' && rtf[i] <= 'z'))) ++i;
    const std::string_view word = rtf.substr(wordStart, i - wordStart);
    if (word.empty()) return fail("an unknown control symbol");
    std::optional<long> number;
    if (i < rtf.size() && (rtf[i] == '-' || (rtf[i] >= '0' && rtf[i] <= '9'))) {
      const bool negative = rtf[i] == '-';
      if (negative) ++i;
      long value = 0;
      std::size_t digits = 0;
      while (i < rtf.size() && rtf[i] >= '0' && rtf[i] <= '9' && digits < 7) value = value * 10 + (rtf[i++] - '0'), ++digits;
      if (digits == 0) return fail("a minus sign without digits");
      number = negative ? -value : value;
    }
    if (i < rtf.size() && rtf[i] == ' ') ++i;  // the delimiter belongs to the control word
    if (word == "u") {
      if (!number || *number < -32768 || *number > 65535) return fail("\\u without a 16-bit value");
      if (skipDepth == 0) {
        mismatch = mismatch || italic != complexItalic;
        appendUnit(static_cast<char16_t>(*number < 0 ? *number + 65536 : *number));
      }
      skipFallback = true;
    } else if (word == "tab") {
      text("\t");
    } else if (word == "i") {
      flushSurrogate();
      if (sawItalic) return fail("a second italic run");
      if (number && *number != 0) return fail("\\i with a value");
      if (number) {
        if (!italic) return fail("\\i0 without \\i");
        italic = false;
        c.italicEnd = c.text.size();
        sawItalic = true;
      } else {
        if (italic) return fail("\\i twice");
        italic = true;
        c.italicBegin = c.text.size();
      }
    } else if (word == "ai") {
      if (number && *number != 0) return fail("\\ai with a value");
      if (complexItalic == !number) return fail(number ? "\\ai0 without \\ai" : "\\ai twice");
      complexItalic = !number;
    } else if (word == "fonttbl") {
      skipDepth = 1;
    } else {
      bool known = false;
      for (std::string_view k : kKnown) known = known || word == k;
      if (!known) return fail("an unknown control word \\" + std::string(word));
    }
  }
  flushSurrogate();
  if (!ended) return fail("the document's group is not closed");
  if (italic || complexItalic) return fail("an italic run that never ends");
  if (mismatch) return fail("text in italics for one kind of script only (\\i and \\ai disagree)");
  return out;
}

}  // namespace citara::fuzz
