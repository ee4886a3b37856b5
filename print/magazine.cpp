// An article of a magazine, cited under its authors with the magazine's name (and in APA its
// volume) in italics, dated to the day or, for a monthly, to the month.
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
    {.name = "MagazineEdit",
     .labelName = "MagazineLabel",
     .caption = "Magazine:",
     .required = true,
     .tabOrder = 2,
     .width = 369,
     .hint = "The name of the magazine\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rsports illustrated\rU.S. news and world report|"},
    {.name = "VolumeEdit",
     .labelName = "VolumeLabel",
     .caption = "Volume:",
     .required = true,
     .tabOrder = 3,
     .width = 65,
     .hint = "The volume of the magazine issue"},
    PublicationDateField(4, " (in MM/DD/YY format)", "mmmm d, yyyy"),
    {.name = "PagesEdit",
     .labelName = "PagesLabel",
     .caption = "Page No(s):",
     .required = true,
     .tabOrder = 6,
     .width = 65,
     .hint = "The page numbers of the magazine article|"},
};

constexpr auto kRadios = MonthAndDayRadios(
    "The magazine is published more than monthly, \rso display both the month and day of \rpublication|",
    "The magazine is printed on a monthly basis or \rless, so display the month only|");

constexpr std::string_view kCreationOrder[] = {
    "TitleEdit", "MagazineEdit", "PagesEdit", "DateEdit", kMonthAndDayRadio, kMonthOnlyRadio, "VolumeEdit",
};

// Carver, Ellen M. "Ocean Tides." *Harbor Monthly* 12 Jan. 1997. 23-25.  (the volume is not cited)
Citation Mla(const FormValues& v) {
  const std::string work = CapitalizeTitle(v.Text("MagazineEdit"), CitationStyle::MLA);
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << MlaArticle(v.Text("TitleEdit"));
  b.Italic(work) << work << " " << FormatMlaDate(v.Checked(kMonthAndDayRadio), v.Date("DateEdit")) << ". "
                 << AppendUnlessPunctuated(v.Text("PagesEdit"), ".");
  return std::move(b).Finish();
}

// Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly, 12,* 23-25.
// The magazine keeps its MLA capitals; the pages stand without "p." or "pp.".
Citation Apa(const FormValues& v) {
  std::string italic = CapitalizeTitle(v.Text("MagazineEdit"), CitationStyle::MLA) + ", ";
  italic.append(v.Text("VolumeEdit")).append(",");
  const std::string date = FormatApaDate(v.Checked(kMonthAndDayRadio), v.Date("DateEdit")) + ". ";
  CitationBuilder b;
  AppendApaArticleLead(b, FormatPrimaryNames(v.Authors(), CitationStyle::APA), date, ApaArticle(v.Text("TitleEdit")));
  b.Italic(italic) << italic << " " << AppendUnlessPunctuated(v.Text("PagesEdit"), ".");
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0},
    {"MagazineEdit", 1}, {"VolumeEdit", 1},
    {"DateEdit", 2}, {"MonthAndDayRadioButton", 2}, {"MonthOnlyRadioButton", 2}, {"PagesEdit", 2},
};

// --- The current editions ---

// Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly, 12*, 23–25.
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7ArticleLead(b, v, Apa7Date(v.Date("DateEdit"), MonthAndDayDetail(v)));
  AppendApa7Periodical(b, v.Text("MagazineEdit"), v.Text("VolumeEdit"), "", v.Text("PagesEdit"));
  AppendApa7Doi(b, v);
  return Finished(std::move(b));
}

// Carver, Ellen M. "Ocean Tides." *Harbor Monthly*, vol. 12, 12 Jan. 1997, pp. 23–25.
Citation Mla9(const FormValues& v) {
  return Mla9Article(v, "MagazineEdit",
                     {Mla9Volume(v.Text("VolumeEdit")), Mla9Date(v.Date("DateEdit"), MonthAndDayDetail(v)),
                      Mla9Pages(v.Text("PagesEdit"))});
}

constexpr FormDescription kForm{
    .className = "Magazine",
    .caption = "Magazine",
    .deliverable = Deliverable::Citara,
    .width = 624,
    .height = 178,
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

const FormDescription& MagazineForm() { return kForm; }

}  // namespace citara
