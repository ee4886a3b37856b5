// What the four web-source forms share: the date fields and the three date-detail radio buttons
// of their main panels, the hint texts they have in common, and the parts of their entries that
// read those fields (the cited date, the address, the retrieval statement).
//
// Every web form names its fields alike: "URLEdit" holds the address, "DateEdit" the date the
// source was published or last modified (cited in the detail the radio buttons choose), and
// "DateRetrievedEdit" the day the writer read it (APA only; the radio buttons never touch it).
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/citation.h"
#include "core/editions.h"
#include "core/form_description.h"

// The capitalization advice of the title and name hints. Macros, so that each form's hint is one
// string literal (a field's hint is a view of text that lives for the whole run).
#define CITARA_WEB_ADVICE_OPENING                                                        \
  "The MLA and APA formats have different  \rrules regarding capitalization.  To ensure " \
  "\rcompatibility with both formats, "
#define CITARA_WEB_ADVICE_CLOSING                                                       \
  "in all lowercase letters with the exception of \rproper names.  Citara will automatically " \
  "\rcapitalize the words as necessary.  Some \rexamples of properly entered "
#define CITARA_WEB_TITLE_ADVICE \
  CITARA_WEB_ADVICE_OPENING "enter the title\r" CITARA_WEB_ADVICE_CLOSING "titles are:"
#define CITARA_WEB_NAME_ADVICE \
  CITARA_WEB_ADVICE_OPENING "enter the name\r" CITARA_WEB_ADVICE_CLOSING "names are:"

namespace citara::web {

inline constexpr std::string_view kUrlEdit = "URLEdit";
inline constexpr std::string_view kMonthDayYearRadio = "MonthDayYearRadioButton";
inline constexpr std::string_view kMonthYearRadio = "MonthYearRadioButton";
inline constexpr std::string_view kYearOnlyRadio = "YearOnlyRadioButton";

inline constexpr std::string_view kLastModifiedHint =
    "The date the website was last modified (in MM/DD/YY format)";

// A flat single-line edit with its label: Ctrl+X/C/V work in it; no length limit.
constexpr FieldDescription TextField(std::string_view name, std::string_view labelName, std::string_view caption,
                                     int tabOrder, int width, std::string_view hint, bool required = true) {
  FieldDescription f;
  f.name = name;
  f.labelName = labelName;
  f.caption = caption;
  f.required = required;
  f.tabOrder = tabOrder;
  f.width = width;
  f.hint = hint;
  return f;
}

// A required date field, 137 wide, without clipboard keys, shown in `displayFormat`.
constexpr FieldDescription DateField(std::string_view name, std::string_view labelName, std::string_view caption,
                                     int tabOrder, std::string_view hint, std::string_view displayFormat) {
  FieldDescription f = TextField(name, labelName, caption, tabOrder, 137, hint);
  f.kind = FieldKind::DateEdit;
  f.clipboardKeys = false;
  f.dateFormat = displayFormat;
  return f;
}

// The retrieval date field: a full date always, shown in `displayFormat`.
constexpr FieldDescription DateRetrievedField(int tabOrder, std::string_view displayFormat) {
  return DateField(kDateRetrievedEdit, "DateRetrievedLabel", "Date Retrieved:", tabOrder,
                   "The date the reference was retrieved (in \rMM/DD/YY format).  This must be a specific "
                   "\rdate, not just a month or year.|",
                   displayFormat);
}

// The cited date field "DateEdit" under `caption`; it starts as "mmmm d, yyyy".
constexpr FieldDescription CitedDateField(int tabOrder, std::string_view caption, std::string_view hint) {
  return DateField(kDateEdit, "DateLabel", caption, tabOrder, hint, "mmmm d, yyyy");
}

constexpr RadioDescription DateDetailRadio(std::string_view name, std::string_view caption, int tabOrder,
                                           std::string_view hint, std::string_view dateFormat) {
  RadioDescription r;
  r.name = name;
  r.caption = caption;
  r.tabOrder = tabOrder;
  r.hint = hint;
  r.dateFormat = dateFormat;
  return r;
}

// The three date-detail radio buttons, "Month, Day, and Year" selected at creation, with the tab
// orders firstTabOrder, +1, +2. Each sets how "DateEdit" shows its date and how much of it the
// entries cite.
constexpr std::array<RadioDescription, 3> DateDetailRadios(int firstTabOrder) {
  std::array<RadioDescription, 3> radios = {
      DateDetailRadio(kMonthDayYearRadio, "Month, Day, and Year", firstTabOrder,
                      "Display the date in MM/DD/YY.  This is the \rdefault and should be used if the "
                      "information is \ravailable.|",
                      "mmmm d, yyyy"),
      DateDetailRadio(kMonthYearRadio, "Month and Year", firstTabOrder + 1, "Display the date in MM/YY", "mmmm yyyy"),
      DateDetailRadio(kYearOnlyRadio, "Year Only", firstTabOrder + 2, "Display the year only", "yyyy"),
  };
  radios[0].checked = true;
  return radios;
}

// A web form of CitaraWeb, 607 pixels wide, with an author list and its title in "TitleEdit"; a
// form that differs sets its own members after this.
constexpr FormDescription WebForm(std::string_view className, std::string_view caption, int height,
                                  std::span<const FieldDescription> fields, std::span<const RadioDescription> radios,
                                  std::span<const std::string_view> creationOrder, EntryRule mla, EntryRule apa,
                                  EntryRule mla9, EntryRule apa7) {
  FormDescription d;
  d.className = className;
  d.caption = caption;
  d.deliverable = Deliverable::CitaraWeb;
  d.width = 607;
  d.height = height;
  d.fields = fields;
  d.radios = radios;
  d.creationOrder = creationOrder;
  d.mla = mla;
  d.apa = apa;
  d.mla9 = mla9;
  d.apa7 = apa7;
  return d;
}

// The cited date of "DateEdit" in the chosen detail, then a space: MLA "12 Jan. 1999 ",
// "Jan. 1999 " or "1999 ".
std::string MlaDatePart(const FormValues& values);

// The same for APA, then a period and a space: "(1999, January 12). ", "(1999, January). " or
// "(1999). ".
std::string ApaDatePart(const FormValues& values);

// The MLA address part "<" + URL + ">.".
std::string MlaAddressPart(const FormValues& values);

// The APA retrieval statement: "Retrieved March 3, 2000, from " + URL, dated by "DateRetrievedEdit".
std::string RetrievalPart(const FormValues& values);

// --- The current editions (apa7, mla9) ---

// How much of "DateEdit" the radio buttons have chosen to cite.
DateDetail ChosenDetail(const FormValues& values);

// The cited date: APA 7 "(2000, March 3). ", MLA 9 "3 Mar. 2000".
std::string Apa7DatePart(const FormValues& values);
std::string Mla9DatePart(const FormValues& values);

// The opening of an APA 7 web entry: the author element (empty: none), the date and the title
// part, which is `title` in italics followed by `label` ("[Online forum post]") and a period;
// without authors the title part leads and the date follows it:
//   Carver, E. M. (2000, June). [Home page].      *Harbor research center*. (2000, November 20).
void AppendApa7WebHead(CitationBuilder& b, std::string_view authorElement, const FormValues& values,
                       std::string_view title, std::string_view label = {});

// Where the source is found: the DOI link of a source that carries a DOI, else the URL, as typed
// in APA 7 and without "http://" or "https://" in MLA 9.
std::string Apa7Location(const FormValues& values);
std::string Mla9Location(const FormValues& values);

// APA 7 "Retrieved March 4, 2001, from " + the location, dated by "DateRetrievedEdit".
std::string Apa7RetrievalPart(const FormValues& values);

// The end of an MLA 9 web entry: the container (in italics when `italic`), the cited date and the
// location as elements, then the access date:
//   *Coastal Science Online*, 3 Mar. 2000, www.example.com/tides.html. Accessed 4 Mar. 2001.
Citation FinishMla9WebEntry(CitationBuilder&& b, const FormValues& values, std::string_view container, bool italic);

}  // namespace citara::web
