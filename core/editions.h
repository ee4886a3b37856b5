// The parts that the current editions of the two styles, `apa7` (APA 7th edition) and `mla9` (MLA
// 9th edition), join the same way in every form: contributor lists, dates, page ranges, the
// location of a source (its DOI or its address) and MLA's run of elements. The classic rules
// (core/formatting.h, core/contributors.h) are untouched by them.
//
// A name text here carries no trailing punctuation or space; an "element" (Apa7Element,
// Mla9AuthorElement, ...) is closed as a sentence and ends with one space, so the rules join
// elements directly and Finished drops the last space.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "core/citation.h"
#include "core/contributors.h"
#include "core/form_description.h"
#include "widgets/dates.h"

namespace citara {

// How much of a date a form's date-detail choice shows.
enum class DateDetail { Day, Month, Year };

// --- Names ---

// The initials of a given name or middle initial: the first letter of each part with a period,
// parts joined by a hyphen keeping it and parts joined by spaces set apart by one space.
// "Anne-Sophie" -> "A.-S.", "Mary Ann" -> "M. A.", "Q" and "Q." -> "Q.".
std::string Apa7Initials(std::string_view given);

// "Carver, E. M."; a contributor with only a last name (an organization) as typed: "Trail Society".
std::string Apa7InvertedName(const Contributor& c);
// "E. M. Carver".
std::string Apa7DirectName(const Contributor& c);

// Every name inverted: "Carver, E. M., & Ostrowski, P."; three to twenty: ", " between them and
// ", & " before the last; twenty-one or more: the first nineteen, ". . . " and the last, no "&".
std::string Apa7Names(const ContributorList& list);
// Names first-name first, for editors beside authors: "A. Brown", "A. Brown & B. Cole",
// "A. Brown, B. Cole, & C. Dee" (cut as Apa7Names beyond twenty).
std::string Apa7DirectNames(const ContributorList& list);

// "Carver, Ellen M.", "Carver, Ellen M., and Paweł Ostrowski", "Carver, Ellen M., et al.".
std::string Mla9Names(const ContributorList& list);
// "Ann Brown", "Ann Brown and Ben Cole", "Ann Brown et al.".
std::string Mla9DirectNames(const ContributorList& list);

// True when the only author is an organization (a last name alone) whose name is exactly
// `publisher`: the editions then name it once.
bool PublisherIsAuthor(const ContributorList& authors, std::string_view publisher);

// --- Elements ---

// `text` closed with one period (none added after ".", "!" or "?") and a space; empty for empty
// text. "Trail Society" -> "Trail Society. ", "Carver, E. M." -> "Carver, E. M. ".
std::string Element(std::string_view text);

// The APA 7 author element "Carver, E. M., & Ostrowski, P. "; empty for no authors.
std::string Apa7AuthorElement(const ContributorList& authors);
// Editors in the authors' place: "Brown, A. (Ed.). ", "Brown, A., & Cole, B. (Eds.). ".
std::string Apa7EditorElement(const ContributorList& editors);
// Editors beside authors, inside the title's parenthesis: "A. Brown, Ed.", "A. Brown & B. Cole, Eds.".
std::string Apa7EditorsBeside(const ContributorList& editors);

// An article title in MLA: capitalized by the MLA rule, closed as a sentence inside double
// quotes, then a space; empty for no title. "ocean tides" -> "\"Ocean Tides.\" ".
std::string Mla9QuotedTitle(std::string_view title);

// The MLA 9 author element "Carver, Ellen M., and Paweł Ostrowski. "; empty for no authors.
std::string Mla9AuthorElement(const ContributorList& authors);
// Editors in the authors' place: "Brown, Ann, editor. ", "Brown, Ann, and Ben Cole, editors. ".
std::string Mla9EditorElement(const ContributorList& editors);
// Editors beside authors, an element after the title: "Edited by Ann Brown", "Edited by Ann Brown
// et al."; empty for no editors.
std::string Mla9EditedBy(const ContributorList& editors);

// MLA's elements after a title: the given ones joined by ", ", the last closed with a period and
// a space; empty when every one is empty. {"vol. 12", "", "1997"} -> "vol. 12, 1997. ".
std::string Mla9Elements(std::span<const std::string_view> elements);
inline std::string Mla9Elements(std::initializer_list<std::string_view> elements) {
  return Mla9Elements(std::span<const std::string_view>(elements.begin(), elements.size()));
}

// The citation of a joined entry, less the space that closes its last element.
Citation Finished(CitationBuilder&& b);

// --- Dates ---

// "(1998). " for a year, "(n.d.). " for none.
std::string Apa7YearDate(std::string_view year);
// "(1997, January 12). ", "(1997, January). " or "(1997). ".
std::string Apa7Date(OleDate date, DateDetail detail);
// "12 Jan. 1997", "Jan. 1997" or "1997".
std::string Mla9Date(OleDate date, DateDetail detail);
// "Accessed 4 Mar. 2001. ".
std::string Mla9Accessed(OleDate date);

// --- Pages ---

// Every hyphen between two digits becomes an en dash: "101-118" -> "101–118"; other text as typed.
std::string EnDashRanges(std::string_view pages);
// EnDashRanges, then the second number of each range cut to its last two digits when both have
// three or more digits, as many as each other, and differ only in those two: "101-118" ->
// "101–18", "1087-1089" -> "1087–89"; "498-532" and "1296-1303" stay whole.
std::string CutMlaRanges(std::string_view pages);
// "pp. " for a range (IsPageRange), "p. " for one page, then the pages; empty for none.
// APA keeps the numbers whole, MLA cuts them: "233-235" -> "pp. 233–235" / "pp. 233–35".
std::string Apa7Pages(std::string_view pages);
std::string Mla9Pages(std::string_view pages);

// --- Locations ---

// "https://doi.org/" + the source's DOI (carried as its CSL variable "DOI"); empty for none. A
// DOI given as a link or with a "doi:" label is reduced to the DOI itself first.
std::string DoiLink(const FormValues& v);
// The CSL variables beside a form's fields that some style's rules read ("DOI"): an import
// carries them without a warning, since an entry shows them.
std::span<const std::string_view> CslVariablesTheRulesRead();
// The address without a leading "http://" or "https://" (other schemes such as "news:" stay).
std::string_view WithoutHttpScheme(std::string_view url);

}  // namespace citara
