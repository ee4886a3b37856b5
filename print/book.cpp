// A book, cited under its authors (or, without authors, its editors) with its title in italics.
#include "print/entry_parts.h"
#include "print/hints.h"
#include "print/print_forms.h"

namespace citara {
namespace {

using namespace print;

constexpr FieldDescription kFields[] = {
    {.name = "TitleEdit",
     .labelName = "TitleLabel",
     .caption = "Title:",
     .required = true,
     .tabOrder = 0,
     .width = 497,
     .hint = "The title of the book\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rthe scarlet letter\rthe biography of Benjamin Franklin|"},
    {.name = "SeriesEdit",
     .labelName = "SeriesLabel",
     .caption = "Series:",
     .tabOrder = 1,
     .width = 497,
     .hint = "The series which the book is in" CITARA_PRINT_SERIES_ADVICE},
    {.name = "PlaceEdit",
     .labelName = "PlaceLabel",
     .caption = "Place of Printing:",
     .required = true,
     .tabOrder = 2,
     .width = 193,
     .hint = CITARA_PRINT_PLACE_HINT},
    {.name = "CompanyEdit",
     .labelName = "CompanyLabel",
     .caption = "Publishing Company:",
     .required = true,
     .tabOrder = 3,
     .width = 177,
     .hint = CITARA_PRINT_COMPANY_HINT},
    {.name = "YearEdit",
     .kind = FieldKind::SpinEdit,
     .labelName = "YearLabel",
     .caption = "Year:",
     .required = true,
     .tabOrder = 4,
     .width = 49,
     .hint = "The year of printing",
     .defaultText = "1998",
     .maxLength = 4,
     .minValue = 1,
     .maxValue = 9999,
     .clipboardKeys = false},
    {.name = "VolumeEdit",
     .labelName = "VolumeLabel",
     .caption = "Volume #:",
     .tabOrder = 5,
     .width = 65,
     .hint = "The volume number of the work|"},
    {.name = "EditionEdit",
     .labelName = "EditionLabel",
     .caption = "Edition:",
     .tabOrder = 6,
     .width = 65,
     .hint = CITARA_PRINT_EDITION_HINT},
    {.name = "PagesEdit",
     .labelName = "PagesLabel",
     .caption = "Page No(s):",
     .tabOrder = 7,
     .width = 65,
     .hint = "The page numbers of the work that were \rreferenced|"},
};

// The year spin edit was created before the other fields, so a blank year is reported first.
constexpr std::string_view kCreationOrder[] = {
    "YearEdit", "TitleEdit", "SeriesEdit", "PlaceEdit", "CompanyEdit", "VolumeEdit", "EditionEdit", "PagesEdit",
};

// Smith, John Q. *The Biography of Benjamin Franklin*. Ed. Ann Brown. vol. 2. 3rd ed. New York:
// Harbor Books, 1998. 12-15.  (ends with a space; place and company keep their separators when empty)
Citation Mla(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::MLA);
  const std::string editors = FormatSecondaryNames(v.Editors(), !authors.empty(), CitationStyle::MLA);
  CitationBuilder b;
  AppendMlaBookHead(b, authors, editors, v.Text("TitleEdit"), v.Text("SeriesEdit"));
  b << MlaVolume(v.Text("VolumeEdit")) << FormatEdition(v.Text("EditionEdit"), CitationStyle::MLA)
    << v.Text("PlaceEdit") << ": " << v.Text("CompanyEdit") << ", " << v.Text("YearEdit") << ". "
    << OptionalSentence(v.Text("PagesEdit"));
  return std::move(b).Finish();
}

// Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). New York:
// Harbor Books. Without details the title itself takes the period: *A tale.* Editors lead only
// when there are no authors; with neither, the title leads and the year follows it.
Citation Apa(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::APA);
  const std::string editors = FormatSecondaryNames(v.Editors(), !authors.empty(), CitationStyle::APA);
  std::string title = CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA);
  const std::string details = Details({FormatEdition(v.Text("EditionEdit"), CitationStyle::APA),
                                       ApaVolume(v.Text("VolumeEdit")), ApaPages(v.Text("PagesEdit"))});
  if (details.empty()) title = AppendUnlessPunctuated(title, ".");
  const std::string titleBlock = Sentence(title + details);
  const std::string year = ApaYear(v.Text("YearEdit"));
  const std::string_view lead = authors.empty() ? std::string_view(editors) : std::string_view(authors);

  CitationBuilder b;
  if (lead.empty()) {
    b.Italic(title) << titleBlock << year;
  } else {
    b << lead << year;
    b.Italic(title) << titleBlock;
  }
  b << v.Text("PlaceEdit") << ": " << ApaPublisherName(v.Text("CompanyEdit"), authors) << ".";
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0},
    {"SeriesEdit", 1},
    {"PlaceEdit", 2}, {"CompanyEdit", 2},
    {"YearEdit", 3}, {"VolumeEdit", 3}, {"EditionEdit", 3}, {"PagesEdit", 3},
};

// --- The current editions ---

// Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2). Harbor Books.
Citation Apa7(const FormValues& v) { return Apa7Book(v, Apa7YearDate(v.Text("YearEdit"))); }

// Smith, John Q. *The Biography of Benjamin Franklin*. Edited by Ann Brown, 3rd ed., vol. 2, Harbor Books, 1998.
Citation Mla9(const FormValues& v) { return Mla9Book(v, v.Text("YearEdit")); }

constexpr FormDescription kForm{
    .className = "Book",
    .caption = "Book",
    .deliverable = Deliverable::Citara,
    .width = 607,
    .height = 259,
    .hasEditors = true,
    .fields = kFields,
    .creationOrder = kCreationOrder,
    .rows = kRows,
    .mla = Mla,
    .apa = Apa,
    .mla9 = Mla9,
    .apa7 = Apa7,
};

}  // namespace

const FormDescription& BookForm() { return kForm; }

}  // namespace citara
