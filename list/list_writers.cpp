#include "list/list_writers.h"

#include <algorithm>

#include "collection/forms.h"

namespace citara {
namespace {

// Half an inch is 720 twips; a line spacing of 480 with \slmult1 is twice the single line.
constexpr std::string_view kHeadingSettings = "\\qc\\sl480\\slmult1";
constexpr std::string_view kEntrySettings = "\\fi-720\\li720\\sl480\\slmult1";

void RtfBegin(std::string& out, std::string_view heading) {
  out += RtfDocumentStart();
  AppendRtfParagraph(out, Citation{std::string(heading)}, kHeadingSettings);
}
void RtfEntry(std::string& out, const Citation& c) { AppendRtfParagraph(out, c, kEntrySettings); }
void RtfEnd(std::string& out) { out += RtfDocumentEnd(); }

void HtmlBegin(std::string& out, std::string_view heading) {
  out +=
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtmlEscaped(out, heading);
  out +=
      "</title>\n<style>\n"
      "h1 { text-align: center; font-size: inherit; font-weight: normal; line-height: 2; margin: 0; }\n"
      "p.entry { margin: 0; padding-left: 0.5in; text-indent: -0.5in; line-height: 2; }\n"
      "</style>\n</head>\n<body>\n<h1>";
  AppendHtmlEscaped(out, heading);
  out += "</h1>\n";
}
void HtmlEntry(std::string& out, const Citation& c) {
  const std::string_view text = c.text;
  out += "<p class=\"entry\">";
  if (c.HasItalics()) {
    AppendHtmlEscaped(out, text.substr(0, c.italicBegin));
    out += "<i>";
    AppendHtmlEscaped(out, text.substr(c.italicBegin, c.italicEnd - c.italicBegin));
    out += "</i>";
    AppendHtmlEscaped(out, text.substr(c.italicEnd));
  } else {
    AppendHtmlEscaped(out, text);
  }
  out += "</p>\n";
}
void HtmlEnd(std::string& out) { out += "</body>\n</html>\n"; }

bool IsLineSpace(char c) { return c == '\n' || c == '\r' || c == '\t'; }

// Plain text on one line: line breaks and tabs as spaces.
void AppendOneLine(std::string& out, std::string_view text) {
  for (const char c : text) out += IsLineSpace(c) ? ' ' : c;
}

void MarkdownBegin(std::string& out, std::string_view heading) {
  out += "# ";
  AppendMarkdownEscaped(out, heading, false);
  out += "\n\n";
}
// Emphasis must open before a non-space and close after one: spaces at the italic run's edges are
// written outside the asterisks. Spaces at the entry's ends are left out (a Markdown reader drops
// them, and two at a line's end would be a line break).
void MarkdownEntry(std::string& out, const Citation& c) {
  std::string_view text = c.text;
  const auto isSpace = [](char ch) { return ch == ' ' || IsLineSpace(ch); };
  std::size_t first = 0, last = text.size();
  while (first < last && isSpace(text[first])) ++first;
  while (last > first && isSpace(text[last - 1])) --last;
  std::size_t begin = std::clamp(c.italicBegin, first, last), end = std::clamp(c.italicEnd, first, last);
  while (begin < end && isSpace(text[begin])) ++begin;
  while (end > begin && isSpace(text[end - 1])) --end;
  if (begin < end) {
    AppendMarkdownEscaped(out, text.substr(first, begin - first), true);
    out += '*';
    AppendMarkdownEscaped(out, text.substr(begin, end - begin), false);
    out += '*';
    AppendMarkdownEscaped(out, text.substr(end, last - end), false);
  } else {
    AppendMarkdownEscaped(out, text.substr(first, last - first), true);
  }
  out += "\n\n";
}
void MarkdownEnd(std::string&) {}

void TextBegin(std::string& out, std::string_view heading) {
  AppendOneLine(out, heading);
  out += "\n\n";
}
void TextEntry(std::string& out, const Citation& c) {
  AppendOneLine(out, c.text);
  out += "\n\n";
}
void TextEnd(std::string&) {}

constexpr ListWriter kWriters[] = {
    {"rtf", RtfBegin, RtfEntry, RtfEnd},
    {"html", HtmlBegin, HtmlEntry, HtmlEnd},
    {"markdown", MarkdownBegin, MarkdownEntry, MarkdownEnd},
    {"text", TextBegin, TextEntry, TextEnd},
};

}  // namespace

std::span<const ListWriter> ListWriters() { return kWriters; }

const ListWriter* FindListWriter(std::string_view name) {
  for (const ListWriter& w : kWriters) {
    if (EqualsIgnoringAsciiCase(w.name, name)) return &w;
  }
  return nullptr;
}

std::string WriteWorksCited(const ListWriter& writer, const WorksCited& list) {
  std::string out;
  writer.begin(out, list.heading);
  for (const Citation& entry : list.entries) writer.entry(out, entry);
  writer.end(out);
  return out;
}

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
}

void AppendMarkdownEscaped(std::string& out, std::string_view text, bool paragraphStart) {
  bool digitsOnly = paragraphStart;  // "1998." or "1998)" opening a paragraph would begin a list
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const char before = i > 0 ? text[i - 1] : '\0';
    bool escape = false;
    switch (c) {
      case '\\': case '`': case '*': case '_': case '[': case ']': case '<': case '>': case '#': case '!':
      case '|': case '~': case '^': case '$': case '&': case '@': case '\'': case '"': case '{': case '}':
        escape = true;  // emphasis, code, links, raw HTML and entities, citations, math, smart quotes
        break;
      case '-':  // "--" and "---" would become dashes, "- " a list item
        escape = next == '-' || before == '-' || (paragraphStart && i == 0);
        break;
      case '+':
        escape = paragraphStart && i == 0;
        break;
      case '.':  // "..." would become an ellipsis, "Jan. 12" an abbreviation joined to "12"
        escape = next == '.' || before == '.' || next == ' ' || (digitsOnly && i > 0);
        break;
      case ')':
        escape = digitsOnly && i > 0;
        break;
      default:
        break;
    }
    if (IsLineSpace(c)) {
      out += ' ';
    } else {
      if (escape) out += '\\';
      out += c;
    }
    if (!(c >= '0' && c <= '9')) digitsOnly = false;
  }
}

}  // namespace citara
