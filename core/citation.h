// A finished entry in a format-neutral form (its text and the one run set in italics), how the
// forms build one, and the writers that turn it into RTF, plain text or "marked" text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace citara {

// The entry's text and the byte range [italicBegin, italicEnd) of its italic run (empty when
// italicBegin == italicEnd).
struct Citation {
  std::string text;
  std::size_t italicBegin = 0;
  std::size_t italicEnd = 0;
  bool HasItalics() const { return italicEnd > italicBegin; }
  friend bool operator==(const Citation&, const Citation&) = default;
};

// The citation of `entry` whose italic run is the first occurrence (exact, case-sensitive) of
// `italic` at or after byte `searchFrom`; no italics when `italic` is empty or does not occur there.
Citation FindItalicRun(std::string entry, std::string_view italic, std::size_t searchFrom = 0);

// Joins an entry from parts and remembers where the italic part was joined, so the italic run is
// looked for from there on and never lands in an earlier part (an author named like the title).
//   CitationBuilder b; b << authors; b.Italic(title) << titlePart << rest; Citation c = b.Finish();
class CitationBuilder {
 public:
  // Room for a usual entry, so that joining the parts does not grow the text step by step.
  CitationBuilder() { text_.reserve(256); }
  CitationBuilder& operator<<(std::string_view part) {
    text_ += part;
    return *this;
  }
  // Sets the italic text; it is looked for from the current end of the text.
  CitationBuilder& Italic(std::string_view italic) {
    italic_ = italic;
    searchFrom_ = text_.size();
    return *this;
  }
  // Lets `append(text, args...)` write into the text in place (no part string of its own).
  template <class Writer, class... Args>
  CitationBuilder& Append(Writer append, Args&&... args) {
    append(text_, std::forward<Args>(args)...);
    return *this;
  }
  const std::string& Text() const { return text_; }
  Citation Finish() && { return FindItalicRun(std::move(text_), italic_, searchFrom_); }

 private:
  std::string text_;
  std::string italic_;
  std::size_t searchFrom_ = 0;
};

// The RTF document of a citation: one paragraph in "MS Sans Serif" 8 pt with the italic run switched
// on and off, each setting made for complex scripts (\af0\afs16, \ai) beside the one for the other
// scripts (\f0\fs16, \i), so that Arabic, Hebrew, Devanagari or Thai text is sized and set in
// italics like the rest. "\", "{" and "}" are escaped and every character outside ASCII is written
// as "\uN ?" (a UTF-16 unit, signed, one per unit, with "?" for readers without Unicode), so any
// entry gives well-formed RTF that reads back to exactly its text. Lines end with CR LF, the last one
// too.
std::string CitationToRtf(const Citation& citation);

// The entry's plain text.
inline const std::string& CitationToText(const Citation& citation) { return citation.text; }

// The plain text with the italic run between asterisks: "Smith, J. (1998). *A tale.* Boston: X."
std::string CitationToMarked(const Citation& citation);

// An RTF document of several entries, one paragraph each, written as they come:
//   out = RtfDocumentStart(); AppendRtfParagraph(out, c1); AppendRtfParagraph(out, c2); out += RtfDocumentEnd();
// Each paragraph is the one CitationToRtf writes; a document of one entry is CitationToRtf's.
std::string_view RtfDocumentStart();
void AppendRtfParagraph(std::string& out, const Citation& citation);
// The same paragraph with paragraph settings after its "\pard": "\qc" centres it,
// "\fi-720\li720\sl480\slmult1" gives it a half-inch hanging indent and double spacing.
void AppendRtfParagraph(std::string& out, const Citation& citation, std::string_view paragraphSettings);
std::string_view RtfDocumentEnd();

// MakeCitationRtf(entry, italic, searchFrom): the RTF of `entry` with the first occurrence of
// `italic` at or after `searchFrom` in italics.
std::string MakeCitationRtf(std::string_view entry, std::string_view italic, std::size_t searchFrom = 0);

}  // namespace citara
