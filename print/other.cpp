// Any other printed source (a pamphlet, a report, a part of a series), cited under its authors or
// editors with its title, or in APA its series, in italics. Only the title and the date are
// required; every other part drops out when its field is empty.
#include "print/entry_parts.h"
#include "print/hints.h"
#include "print/print_forms.h"

namespace citara {
namespace {

using namespace print;

constexpr std::string_view kMonthDayYearRadio = "MonthDayYearRadioButton";
constexpr std::string_view kMonthYearRadio = "MonthYearRadioButton";
constexpr std::string_view kYearOnlyRadio = "YearOnlyRadioButton";

constexpr FieldDescription kFields[] = {
    {.name = "TitleEdit",
     .labelName = "TitleLabel",
     .caption = "Title:",
     .required = true,
     .tabOrder = 1,
     .width = 489,
     .hint = "The title of the work\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rthe scarlet letter\rthe biography of Benjamin Franklin|"},
    {.name = "SeriesEdit",
     .labelName = "SeriesLabel",
     .caption = "Series:",
     .tabOrder = 2,
     .width = 489,
     .hint = "The series of the work" CITARA_PRINT_SERIES_ADVICE},
    {.name = "PlaceEdit",
     .labelName = "PlaceLabel",
     .caption = "Place of Printing:",
     .tabOrder = 3,
     .width = 193,
     .hint = CITARA_PRINT_PLACE_HINT},
    {.name = "CompanyEdit",
     .labelName = "CompanyLabel",
     .caption = "Publishing Company:",
     .tabOrder = 4,
     .width = 177,
     .hint = CITARA_PRINT_COMPANY_HINT},
    // Two-digit days ("January 05, 1997") until a radio button sets its own format.
    PublicationDateField(5, "The date of publication (in MM/DD/YY format)", "mmmm dd, yyyy"),
    {.name = "VolumeEdit",
     .labelName = "VolumeLabel",
     .caption = "Volume #:",
     .tabOrder = 7,
     .width = 65,
     .hint = "The volume number of the work"},
    {.name = "EditionEdit",
     .labelName = "EditionLabel",
     .caption = "Edition:",
     .tabOrder = 8,
     .width = 65,
     .hint = CITARA_PRINT_EDITION_HINT},
    {.name = "PagesEdit",
     .labelName = "PagesLabel",
     .caption = "Page No(s):",
     .tabOrder = 9,
     .width = 65,
     .hint = "The page number of the work that were referenced"},
};

constexpr RadioDescription kRadios[] = {
    {.name = kMonthDayYearRadio,
     .caption = "Month, Day, and Year",
     .tabOrder = 6,
     .checked = true,
     .hint = "The publication is published more than \rmonthly, so display the month, day, and year of \rpublication|",
     .dateFormat = "mmmm d, yyyy"},
    {.name = kMonthYearRadio,
     .caption = "Month and Year",
     .tabOrder = 0,
     .hint = "The publication is printed on a monthly basis \ror less, so display the month and year only|",
     .dateFormat = "mmmm yyyy"},
    {.name = kYearOnlyRadio,
     .caption = "Year Only",
     .tabOrder = 10,
     .hint = "The publication is printed on a yearly basis or \rless, so display the year only|",
     .dateFormat = "yyyy"},
};

constexpr std::string_view kCreationOrder[] = {
    "TitleEdit",       "SeriesEdit",   "PlaceEdit",  "CompanyEdit", "DateEdit",  kMonthDayYearRadio,
    kMonthYearRadio,   kYearOnlyRadio, "VolumeEdit", "EditionEdit", "PagesEdit",
};

// The date in the chosen detail, then ". ": MLA "12 Jan. 1997. ", "Jan. 1997. " or "1997. ".
std::string MlaDate(const FormValues& v) {
  const OleDate date = v.Date("DateEdit");
  if (v.Checked(kYearOnlyRadio)) return std::to_string(YearOf(date)) + ". ";
  return FormatMlaDate(v.Checked(kMonthDayYearRadio), date) + ". ";
}

// APA "(1997, January 12). ", "(1997, January). " or "(1997). ".
std::string ApaDate(const FormValues& v) {
  const OleDate date = v.Date("DateEdit");
  if (v.Checked(kYearOnlyRadio)) return ApaYear(std::to_string(YearOf(date)));
  return FormatApaDate(v.Checked(kMonthDayYearRadio), date) + ". ";
}

// "Boston: Harbor Press" + close, or the one of the two that is given + close; empty for neither.
std::string Publisher(std::string_view place, std::string_view company, std::string_view close) {
  std::string out(place);
  if (!place.empty() && !company.empty()) out += ": ";
  out += company;
  if (!out.empty()) out += close;
  return out;
}

// Carver, Ellen M. *The Lighthouse Keepers*. Coastal Histories. Ed. Jane Q. Doe. vol. 2. 3rd ed.
// Boston: Harbor Press, 12 Jan. 1997. 23-25.  (ends with a space)
Citation Mla(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::MLA);
  const std::string editors = FormatSecondaryNames(v.Editors(), !authors.empty(), CitationStyle::MLA);
  CitationBuilder b;
  AppendMlaBookHead(b, authors, editors, v.Text("TitleEdit"), v.Text("SeriesEdit"));
  b << MlaVolume(v.Text("VolumeEdit")) << FormatEdition(v.Text("EditionEdit"), CitationStyle::MLA)
    << Publisher(v.Text("PlaceEdit"), v.Text("CompanyEdit"), ", ") << MlaDate(v)
    << OptionalSentence(v.Text("PagesEdit"));
  return std::move(b).Finish();
}

// With a series, the work is cited as part of it and the series is in italics:
//   Carver, E. M. (1997, January 12). The lighthouse keepers. In Doe, J. Q. (Ed.), *Coastal
//   histories* (3rd ed., Vol. 2, pp. 23-25). Boston: Harbor Press.
// Without one, the title is in italics, and with authors and editors the editors follow the
// details with the date again:
//   Carver, E. M. (1997, January 12). *The lighthouse keepers* (3rd ed., Vol. 2, pp. 23-25). Doe,
//   J. Q. (Ed.). (1997, January 12). Boston: Harbor Press.
// The part that is in italics takes the period that closes it when no details follow.
Citation Apa(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::APA);
  const std::string editors = FormatSecondaryNames(v.Editors(), !authors.empty(), CitationStyle::APA);
  std::string title = CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA);
  std::string series = CapitalizeTitle(v.Text("SeriesEdit"), CitationStyle::APA);
  const std::string details = Details({FormatEdition(v.Text("EditionEdit"), CitationStyle::APA),
                                       ApaVolume(v.Text("VolumeEdit")), ApaPages(v.Text("PagesEdit"))});
  if (details.empty() && !series.empty()) series = AppendUnlessPunctuated(series, ".");
  if (details.empty() || !series.empty()) title = AppendUnlessPunctuated(title, ".");
  const std::string detailsPart = details.empty() ? " " : Sentence(details);
  const std::string date = ApaDate(v);
  const std::string publisher =
      Publisher(v.Text("PlaceEdit"), ApaPublisherName(v.Text("CompanyEdit"), authors), ". ");

  CitationBuilder b;
  if (series.empty()) {
    if (authors.empty() && editors.empty()) {
      b.Italic(title) << title << detailsPart << date;
    } else {
      b << (authors.empty() ? editors : authors) << date;
      b.Italic(title) << title << detailsPart;
      if (!authors.empty() && !editors.empty()) b << editors << date;
    }
  } else if (!authors.empty()) {
    b << authors << date << title << (title.empty() ? "In " : " In ");
    if (!editors.empty()) {
      // "Doe, J. Q. (Ed.), ": the editors' closing ". " gives way to the comma.
      std::string_view names = editors;
      if (names.ends_with(". ")) names.remove_suffix(2);
      b << names << ", ";
    }
    b.Italic(series) << series << detailsPart;
  } else if (!editors.empty()) {
    b << editors << date << title << " In ";
    b.Italic(series) << series << detailsPart;
  } else {
    b << title << detailsPart << date << "In ";
    const bool closed = EndsWithTerminalPunctuation(series);
    if (!closed) series += ". ";
    b.Italic(series) << series << (closed ? " " : "");
  }
  b << publisher;
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0},
    {"SeriesEdit", 1},
    {"PlaceEdit", 2}, {"CompanyEdit", 2},
    {"DateEdit", 3}, {"MonthDayYearRadioButton", 3}, {"MonthYearRadioButton", 3}, {"YearOnlyRadioButton", 3},
    {"VolumeEdit", 4}, {"EditionEdit", 4}, {"PagesEdit", 4},
};

// --- The current editions ---

DateDetail Detail(const FormValues& v) {
  if (v.Checked(kYearOnlyRadio)) return DateDetail::Year;
  return v.Checked(kMonthDayYearRadio) ? DateDetail::Day : DateDetail::Month;
}

// As a book, dated in the chosen detail: Trail Society. (1999, May). *A guide to the coastal
// trail: Maps and notes*.
Citation Apa7(const FormValues& v) { return Apa7Book(v, Apa7Date(v.Date("DateEdit"), Detail(v))); }

// *A Guide to the Coastal Trail: Maps and Notes*. Trail Society, May 1999.
Citation Mla9(const FormValues& v) { return Mla9Book(v, Mla9Date(v.Date("DateEdit"), Detail(v))); }

constexpr FormDescription kForm{
    .className = "Other",
    .caption = "Other",
    .deliverable = Deliverable::Citara,
    .width = 609,
    .height = 285,
    .hasEditors = true,
    .fields = kFields,
    .radios = kRadios,
    .creationOrder = kCreationOrder,
    .rows = kRows,
    .mla = Mla,
    .apa = Apa,
    .mla9 = Mla9,
    .apa7 = Apa7,
};

}  // namespace

const FormDescription& OtherForm() { return kForm; }

}  // namespace citara
