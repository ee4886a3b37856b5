// The parts that several printed-source entries join the same way. Each returns text that carries
// its own trailing punctuation and space, as the entries join them directly; a part of an empty
// optional field is empty text.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/citation.h"
#include "core/editions.h"
#include "core/form_description.h"
#include "core/formatting.h"

namespace citara::print {

// The date of publication of the magazine, newspaper and other printed source: date edit
// "DateEdit", shown in `dateFormat` until a radio button sets another format.
constexpr FieldDescription PublicationDateField(int tabOrder, std::string_view hint, std::string_view dateFormat) {
  return {.name = "DateEdit",
          .kind = FieldKind::DateEdit,
          .labelName = "DateLabel",
          .caption = "Date of Publication:",
          .required = true,
          .tabOrder = tabOrder,
          .width = 121,
          .hint = hint,
          .clipboardKeys = false,
          .dateFormat = dateFormat};
}

// The magazine's and newspaper's choice between citing month and day or the month only; "Month
// and Day" (tab order 5) is selected at creation.
inline constexpr std::string_view kMonthAndDayRadio = "MonthAndDayRadioButton";
inline constexpr std::string_view kMonthOnlyRadio = "MonthOnlyRadioButton";
constexpr std::array<RadioDescription, 2> MonthAndDayRadios(std::string_view withDayHint,
                                                            std::string_view monthOnlyHint) {
  return {{
      {.name = kMonthAndDayRadio,
       .caption = "Month and Day",
       .tabOrder = 5,
       .checked = true,
       .hint = withDayHint,
       .dateFormat = "mmmm d, yyyy"},
      {.name = kMonthOnlyRadio,
       .caption = "Month Only",
       .tabOrder = 0,
       .hint = monthOnlyHint,
       .dateFormat = "mmmm yyyy"},
  }};
}

// `text` closed as a sentence: a "." unless it already ends with ".", "!" or "?", then one space.
// Sentence("A tale") -> "A tale. ", Sentence("What now?") -> "What now? ".
std::string Sentence(std::string_view text);
// Sentence(text) appended to `out`.
void AppendSentence(std::string& out, std::string_view text);

// The MLA part of an optional field: Sentence(text), or empty for empty text.
std::string OptionalSentence(std::string_view text);

// An article title in MLA: the capitalized title closed as a sentence inside double quotes.
// "ocean tides" -> "\"Ocean Tides.\" ".
std::string MlaArticle(std::string_view title);

// An article title in APA: Sentence of the APA-capitalized title. "ocean tides" -> "Ocean tides. ".
std::string ApaArticle(std::string_view title);

// The APA date of a work dated by its year: "(1998). ".
std::string ApaYear(std::string_view year);

// MLA "vol. 2. ", empty for no volume.
std::string MlaVolume(std::string_view volume);

// APA "Vol. 2", empty for no volume (no punctuation: it stands inside a parenthesis).
std::string ApaVolume(std::string_view volume);

// "pp. " for a page range ("7-9", "A1, A4", "3+"), "p. " for anything else.
std::string_view PagesPrefix(std::string_view pages);

// APA pages: PagesPrefix + pages, empty for no pages. "7" -> "p. 7", "7-9" -> "pp. 7-9".
std::string ApaPages(std::string_view pages);

// The publisher's name of an APA entry: "Author" when the company is the work's only author (the
// company + ". " is exactly the APA author text, as a corporate author entered as a last name
// formats), else the company as typed.
std::string_view ApaPublisherName(std::string_view company, std::string_view apaAuthors);

// The given details in a parenthesis after a title: " (3rd ed., Vol. 2, pp. 12-15)"; empty when
// every detail is empty.
std::string Details(std::initializer_list<std::string_view> details);

// The opening of an APA article entry: authors, date, then the article; without authors the article
// leads and the date follows it. `date` ends with ". ".
void AppendApaArticleLead(CitationBuilder& b, std::string_view apaAuthors, std::string_view date,
                          std::string_view article);

// The opening of an MLA entry of a book or other printed source, with the title in italics:
// authors, title, series, editors ("Ed. Ann Brown. "); without authors the editors lead
// ("Brown, Ann, ed. "). `title` and `series` are as typed.
void AppendMlaBookHead(CitationBuilder& b, std::string_view mlaAuthors, std::string_view mlaEditors,
                       std::string_view title, std::string_view series);

// --- The current editions (apa7, mla9) ---

// MLA 9 "vol. 2", empty for no volume.
std::string Mla9Volume(std::string_view volume);

// The date detail of the magazine's and newspaper's radio buttons: the day with "Month and Day".
DateDetail MonthAndDayDetail(const FormValues& v);

// The entry of a book or other printed source, dated by `apa7Date` ("(1998). ") or `mla9Date`
// ("1998"): its fields "TitleEdit", "EditionEdit", "VolumeEdit", "CompanyEdit" and, in MLA, the
// series; no place and no pages.
//   Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2). Harbor Books.
//   Smith, John Q. *The Biography of Benjamin Franklin*. Edited by Ann Brown, 3rd ed., vol. 2, Harbor Books, 1998.
Citation Apa7Book(const FormValues& v, std::string_view apa7Date);
Citation Mla9Book(const FormValues& v, std::string_view mla9Date);

// The given parts joined by `separator`: JoinGiven({"3rd ed.", "", "Vol. 2"}, ", ") -> "3rd ed., Vol. 2".
std::string JoinGiven(std::initializer_list<std::string_view> parts, std::string_view separator);

// An italic title in APA 7, with the details that follow it in a parenthesis: "*Title*. ",
// "*Title* (3rd ed.). ", "*What now?* "; the italic run is the title alone.
void AppendApa7ItalicTitle(CitationBuilder& b, std::string_view title, std::string_view details);

// The opening of an APA 7 article entry: authors, date, article title; without authors the title
// leads and the date follows it.
void AppendApa7ArticleLead(CitationBuilder& b, const FormValues& v, std::string_view apa7Date);

// A periodical in APA 7, with its name in title case: "*Journal of Coastal Studies, 14*(2),
// 101–118. " (the italic run the name through the volume; no "pp."); each missing part drops out.
void AppendApa7Periodical(CitationBuilder& b, std::string_view name, std::string_view volume, std::string_view issue,
                          std::string_view pages);

// An MLA 9 article entry: authors, the quoted article title ("TitleEdit"), then the container
// (the field `containerField`) in title case and italics, followed by its elements:
//   Carver, Ellen M. "Ocean Tides." *Harbor Monthly*, vol. 12, 12 Jan. 1997, pp. 23–25.
// The source's DOI link follows the elements as its location.
Citation Mla9Article(const FormValues& v, std::string_view containerField, std::initializer_list<std::string_view> elements);

// The source's DOI link closing an APA 7 entry; nothing without one.
void AppendApa7Doi(CitationBuilder& b, const FormValues& v);

}  // namespace citara::print
