// An article of an encyclopedia, cited under its authors with the encyclopedia's name in italics.
// Every field is required.
#include "print/entry_parts.h"
#include "print/hints.h"
#include "print/print_forms.h"

namespace citara {
namespace {

using namespace print;

constexpr FieldDescription kFields[] = {
    {.name = "TitleEdit",
     .labelName = "TitleLabel",
     .caption = "Article Title:",
     .required = true,
     .tabOrder = 0,
     .width = 497,
     .hint = "The title of the article\r\r" CITARA_PRINT_TITLE_ADVICE "\r\rdogs\rthe Watergate hearings|"},
    {.name = "EncyclopediaEdit",
     .labelName = "EncyclopediaLabel",
     .caption = "Encyclopedia:",
     .required = true,
     .tabOrder = 1,
     .width = 497,
     .hint = "The encyclopedia series\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rworld book encyclopedia\rCompton's encyclopedia|"},
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
     .hint = "The year of the encyclopedia's printing",
     .defaultText = "1998",
     .maxLength = 4,
     .minValue = 1,
     .maxValue = 9999,
     .clipboardKeys = false},
    {.name = "VolumeEdit",
     .labelName = "VolumeLabel",
     .caption = "Volume #:",
     .required = true,
     .tabOrder = 5,
     .width = 81,
     .hint = "The number of the volume referenced"},
    {.name = "PagesEdit",
     .labelName = "PagesLabel",
     .caption = "Page No(s):",
     .required = true,
     .tabOrder = 6,
     .width = 89,
     .hint = "The page numbers of the work that were referenced"},
};

constexpr std::string_view kCreationOrder[] = {
    "TitleEdit", "EncyclopediaEdit", "PlaceEdit", "CompanyEdit", "YearEdit", "VolumeEdit", "PagesEdit",
};

// Carver, Ellen M. "Ocean Tides." *New Harbor Encyclopedia*. vol. 12. 1997 ed.
// The year of printing stands as the edition; place, company and pages are not cited.
Citation Mla(const FormValues& v) {
  const std::string work = CapitalizeTitle(v.Text("EncyclopediaEdit"), CitationStyle::MLA);
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << MlaArticle(v.Text("TitleEdit"));
  b.Italic(work) << Sentence(work) << MlaVolume(v.Text("VolumeEdit")) << v.Text("YearEdit") << " ed.";
  return std::move(b).Finish();
}

// Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233-235). Boston:
// Harbor Press. The volume parenthesis is written whatever the volume and pages hold.
Citation Apa(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::APA);
  const std::string work = CapitalizeTitle(v.Text("EncyclopediaEdit"), CitationStyle::APA);
  const std::string year = ApaYear(v.Text("YearEdit"));
  CitationBuilder b;
  AppendApaArticleLead(b, authors, year, ApaArticle(v.Text("TitleEdit")));
  b << "In ";
  b.Italic(work) << work << " (Vol. " << v.Text("VolumeEdit") << ", " << ApaPages(v.Text("PagesEdit")) << "). "
                 << v.Text("PlaceEdit") << ": " << ApaPublisherName(v.Text("CompanyEdit"), authors) << ".";
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0},
    {"EncyclopediaEdit", 1},
    {"PlaceEdit", 2}, {"CompanyEdit", 2},
    {"YearEdit", 3}, {"VolumeEdit", 3}, {"PagesEdit", 3},
};

// --- The current editions ---

// Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233–235). Harbor Press.
// An organization author that is the publisher is named once.
Citation Apa7(const FormValues& v) {
  const std::string work = CapitalizeTitle(v.Text("EncyclopediaEdit"), CitationStyle::APA);
  const std::string details = JoinGiven({ApaVolume(v.Text("VolumeEdit")), Apa7Pages(v.Text("PagesEdit"))}, ", ");
  const std::string_view company = v.Text("CompanyEdit");
  CitationBuilder b;
  AppendApa7ArticleLead(b, v, Apa7YearDate(v.Text("YearEdit")));
  if (!work.empty() || !details.empty()) b << "In ";
  AppendApa7ItalicTitle(b, work, details);
  if (!PublisherIsAuthor(v.Authors(), company)) b << Element(company);
  AppendApa7Doi(b, v);
  return Finished(std::move(b));
}

// Carver, Ellen M. "Ocean Tides." *New Harbor Encyclopedia*, vol. 12, Harbor Press, 1997, pp. 233–35.
Citation Mla9(const FormValues& v) {
  return Mla9Article(v, "EncyclopediaEdit",
                     {Mla9Volume(v.Text("VolumeEdit")), v.Text("CompanyEdit"), v.Text("YearEdit"),
                      Mla9Pages(v.Text("PagesEdit"))});
}

constexpr FormDescription kForm{
    .className = "Encyclopedia",
    .caption = "Encyclopedia",
    .deliverable = Deliverable::Citara,
    .width = 611,
    .height = 200,
    .fields = kFields,
    .creationOrder = kCreationOrder,
    .rows = kRows,
    .mla = Mla,
    .apa = Apa,
    .mla9 = Mla9,
    .apa7 = Apa7,
};

}  // namespace

const FormDescription& EncyclopediaForm() { return kForm; }

}  // namespace citara
