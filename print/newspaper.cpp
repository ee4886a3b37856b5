// An article of a newspaper, cited under its authors with the newspaper's name in italics, dated to
// the day or to the month. The pages carry their section letters ("A1, A4").
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
     .tabOrder = 1,
     .width = 497,
     .hint = "The title of the article\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rinterest rates on the rise\rfootball is winning fans overseas|"},
    {.name = "NewspaperEdit",
     .labelName = "NewspaperLabel",
     .caption = "Newspaper:",
     .required = true,
     .tabOrder = 2,
     .width = 265,
     .hint = "The name of the newspaper\r\r" CITARA_PRINT_TITLE_ADVICE "\r\rthe New York Times\rUSA today|"},
    {.name = "PagesEdit",
     .labelName = "PagesLabel",
     .caption = "Section / Page No(s):",
     .required = true,
     .tabOrder = 3,
     .width = 97,
     .hint = "The page numbers of the article (i.e. D1-D4  or  A2, A6)"},
    // Two-digit days ("January 05, 1997") until a radio button sets its own format.
    PublicationDateField(4, "The date of publication (in MM/DD/YY format)", "mmmm dd, yyyy"),
};

constexpr auto kRadios = MonthAndDayRadios(
    "The newspaper is published more than \rmonthly, so display both the month and day of \rpublication|",
    "The newspaper is printed on a monthly basis \ror less, so display the month only|");

constexpr std::string_view kCreationOrder[] = {
    "TitleEdit", "NewspaperEdit", "PagesEdit", "DateEdit", kMonthAndDayRadio, kMonthOnlyRadio,
};

// Carver, Ellen M. "Ocean Tides." *Harbor Daily News* 12 Jan. 1997: A1, A4.
Citation Mla(const FormValues& v) {
  const std::string work = CapitalizeTitle(v.Text("NewspaperEdit"), CitationStyle::MLA);
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << MlaArticle(v.Text("TitleEdit"));
  b.Italic(work) << work << " " << FormatMlaDate(v.Checked(kMonthAndDayRadio), v.Date("DateEdit")) << ": "
                 << AppendUnlessPunctuated(v.Text("PagesEdit"), ".");
  return std::move(b).Finish();
}

// Carver, E. M. (1997, January 12). Ocean tides. *Harbor Daily News,* pp. A1, A4.
// The newspaper keeps its MLA capitals and the comma after it is italic too.
Citation Apa(const FormValues& v) {
  const std::string italic = CapitalizeTitle(v.Text("NewspaperEdit"), CitationStyle::MLA) + ",";
  const std::string_view pages = v.Text("PagesEdit");
  const std::string date = FormatApaDate(v.Checked(kMonthAndDayRadio), v.Date("DateEdit")) + ". ";
  CitationBuilder b;
  AppendApaArticleLead(b, FormatPrimaryNames(v.Authors(), CitationStyle::APA), date, ApaArticle(v.Text("TitleEdit")));
  b.Italic(italic) << italic << " " << PagesPrefix(pages) << AppendUnlessPunctuated(pages, ".");
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0},
    {"NewspaperEdit", 1}, {"PagesEdit", 1},
    {"DateEdit", 2}, {"MonthAndDayRadioButton", 2}, {"MonthOnlyRadioButton", 2},
};

// --- The current editions ---

// Zola, É. (2001, September 9). City council votes on the harbor plan. *Harbor Daily News*, A1.
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7ArticleLead(b, v, Apa7Date(v.Date("DateEdit"), MonthAndDayDetail(v)));
  AppendApa7Periodical(b, v.Text("NewspaperEdit"), "", "", v.Text("PagesEdit"));
  AppendApa7Doi(b, v);
  return Finished(std::move(b));
}

// Zola, Émile. "City Council Votes on the Harbor Plan." *Harbor Daily News*, 9 Sept. 2001, p. A1.
Citation Mla9(const FormValues& v) {
  return Mla9Article(v, "NewspaperEdit",
                     {Mla9Date(v.Date("DateEdit"), MonthAndDayDetail(v)), Mla9Pages(v.Text("PagesEdit"))});
}

constexpr FormDescription kForm{
    .className = "Newspaper",
    .caption = "Newspaper",
    .deliverable = Deliverable::Citara,
    .width = 615,
    .height = 176,
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

const FormDescription& NewspaperForm() { return kForm; }

}  // namespace citara
