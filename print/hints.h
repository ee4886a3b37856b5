// Hint texts that several printed-source forms show word for word. "\r" breaks a tooltip line and
// a trailing "|" closes the tooltip text; both are part of the stored hint.
//
// Macros, so that a form's hint that embeds the capitalization advice stays one string literal (a
// field's hint is a view of text that lives for the whole run).
#pragma once

// The advice of every title hint, between the hint's first line and its examples.
#define CITARA_PRINT_TITLE_ADVICE                                                           \
  "The MLA and APA formats have different  \rrules regarding capitalization.  To ensure "  \
  "\rcompatibility with both formats, enter the title  \rin all lowercase letters with the " \
  "exception of \rproper names.  Citara will automatically \rcapitalize the words as "       \
  "necessary.  Some \rexamples of properly entered titles are:"

// The series hint of the book and the other printed source, after its first line.
#define CITARA_PRINT_SERIES_ADVICE                                                          \
  "\r\rThe MLA and APA formats have different  \rrules regarding capitalization.  To ensure " \
  "\rcompatibility with both formats, enter the series\rin all lowercase letters with the "   \
  "exception of \rproper names.  Citara will automatically \rcapitalize the words as "        \
  "necessary.  Some \rexamples of properly entered series are:\r\rthe chronicles of "         \
  "Narnia\rchoose your own adventure|"

#define CITARA_PRINT_PLACE_HINT                                                             \
  "The city and state in which the work was \rprinted.  Use the two-letter abbreviation for " \
  "the \rstates, and separate the city and state with a \rcomma followed by a space.  Some "  \
  "examples \rinclude:\r\rGrand Rapids, MI\rMt. Kisco, NY\r\rIf the city is well known such " \
  "as New York City \ror Chicago, the state is not necessary.|"

#define CITARA_PRINT_COMPANY_HINT "The publishing company who printed the book"

#define CITARA_PRINT_EDITION_HINT \
  "The edition of the work.  This may be a \rnumber such as \"3\" or a word such as \r\"Unabridged.\"|"
