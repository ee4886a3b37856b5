// The writers of a finished list of works cited (list/works_cited.h), each with one escaper:
//   rtf       the heading centred, then every entry a paragraph with a half-inch hanging indent
//             and double spacing (\fi-720\li720\sl480\slmult1), in core's RTF writer's font, size,
//             italic run and complex-script settings;
//   html      a standalone UTF-8 page: the heading as <h1>, every entry a <p> with <i> for its italic
//             run, the hanging indent and double spacing in CSS, every text escaped;
//   markdown  "# heading", then one paragraph per entry with *italic*; Markdown's special
//             characters are backslash-escaped, so a Markdown reader gives back exactly the text
//             (but the spaces at its ends, which Markdown drops);
//   text      the heading on the first line, then a blank line and every entry on a line of its own,
//             a blank line between entries.
// A writer is written in pieces, so a long list can go out as it is made:
//   const ListWriter& w = *FindListWriter("html");
//   w.begin(out, list.heading); for (const Citation& e : list.entries) w.entry(out, e); w.end(out);
// In markdown and text a line break or tab inside an entry becomes a space, so that every entry
// stays one paragraph (one line) of its own.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/citation.h"
#include "list/works_cited.h"

namespace citara {

struct ListWriter {
  std::string_view name;
  void (*begin)(std::string& out, std::string_view heading);
  void (*entry)(std::string& out, const Citation& entry);
  void (*end)(std::string& out);
};

// rtf, html, markdown, text.
std::span<const ListWriter> ListWriters();
// The writer named `name` (ASCII case ignored); nullptr when none.
const ListWriter* FindListWriter(std::string_view name);

// The whole list in one text.
std::string WriteWorksCited(const ListWriter& writer, const WorksCited& list);

// The escapers, for tests and other writers: "<" as "&lt;" ...; "*" as "\*" ...
void AppendHtmlEscaped(std::string& out, std::string_view text);
// Markdown: the characters that would start emphasis, code, a link, raw HTML, an entity, a
// citation or math, and those that smart typography changes (quotes, "--", "...", the space after
// a period that it takes for an abbreviation's and makes unbreakable), are escaped;
// with `paragraphStart`, also what would make the text a list item or a heading.
void AppendMarkdownEscaped(std::string& out, std::string_view text, bool paragraphStart);

}  // namespace citara
