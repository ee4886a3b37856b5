// An article of a scholarly journal, cited under its authors with the journal's name (and in APA
// its volume) in italics. Only the issue is optional.
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
     .width = 521,
     .hint = "The title of the article\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rinterest rates on the rise\rfootball is winning fans overseas|"},
    {.name = "JournalEdit",
     .labelName = "JournalLabel",
     .caption = "Journal:",
     .required = true,
     .tabOrder = 1,
     .width = 521,
     .hint = "The name of the journal\r\r" CITARA_PRINT_TITLE_ADVICE
             "\r\rjournal of American medicine\rthe theological review|"},
    {.name = "YearEdit",
     .kind = FieldKind::SpinEdit,
     .labelName = "YearLabel",
     .caption = "Year:",
     .required = true,
     .tabOrder = 2,
     .width = 49,
     .hint = "The year of publication",
     .defaultText = "1998",
     .maxLength = 4,
     .minValue = 1,
     .maxValue = 9999,
     .clipboardKeys = false},
    {.name = "VolumeEdit",
     .labelName = "VolumeLabel",
     .caption = "Volume #:",
     .required = true,
     .tabOrder = 3,
     .width = 65,
     .hint = "The volume number of the journal|"},
    {.name = "IssueEdit",
     .labelName = "IssueLabel",
     .caption = "Issue #:",
     .tabOrder = 4,
     .width = 65,
     .hint = "The issue number of the journal"},
    {.name = "PagesEdit",
     .labelName = "PagesLabel",
     .caption = "Page No(s):",
     .required = true,
     .tabOrder = 5,
     .width = 65,
     .hint = "The page numbers of the work that were referenced"},
};

// The year spin edit was created before the other fields, so a blank year is reported first.
constexpr std::string_view kCreationOrder[] = {
    "YearEdit", "TitleEdit", "JournalEdit", "VolumeEdit", "IssueEdit", "PagesEdit",
};

// Carver, Ellen M. "Tidal Energy and Coastal Towns." *Journal of Coastal Studies* 14.2 (1996): 101-118.
Citation Mla(const FormValues& v) {
  const std::string work = CapitalizeTitle(v.Text("JournalEdit"), CitationStyle::MLA);
  const std::string_view issue = v.Text("IssueEdit");
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << MlaArticle(v.Text("TitleEdit"));
  b.Italic(work) << work << " " << v.Text("VolumeEdit");
  if (!issue.empty()) b << "." << issue;
  b << " (" << v.Text("YearEdit") << "): " << AppendUnlessPunctuated(v.Text("PagesEdit"), ".");
  return std::move(b).Finish();
}

// Carver, E. M. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101-118.
// The journal keeps its MLA capitals; without an issue the comma after the volume is italic too:
// *Journal of Coastal Studies, 14,* 101-118.
Citation Apa(const FormValues& v) {
  const std::string_view issue = v.Text("IssueEdit");
  std::string italic = CapitalizeTitle(v.Text("JournalEdit"), CitationStyle::MLA) + ", ";
  italic += v.Text("VolumeEdit");
  if (issue.empty()) italic += ",";
  const std::string year = ApaYear(v.Text("YearEdit"));
  CitationBuilder b;
  AppendApaArticleLead(b, FormatPrimaryNames(v.Authors(), CitationStyle::APA), year, ApaArticle(v.Text("TitleEdit")));
  b.Italic(italic) << italic;
  if (issue.empty()) {
    b << " ";
  } else {
    b << "(" << issue << "), ";
  }
  b << AppendUnlessPunctuated(v.Text("PagesEdit"), ".");
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0},
    {"JournalEdit", 1},
    {"YearEdit", 2}, {"VolumeEdit", 2}, {"IssueEdit", 2}, {"PagesEdit", 2},
};

// --- The current editions ---

// Carver, E. M., & Ostrowski, P. (1996). Tidal energy and coastal towns. *Journal of Coastal
// Studies, 14*(2), 101–118.
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7ArticleLead(b, v, Apa7YearDate(v.Text("YearEdit")));
  AppendApa7Periodical(b, v.Text("JournalEdit"), v.Text("VolumeEdit"), v.Text("IssueEdit"), v.Text("PagesEdit"));
  AppendApa7Doi(b, v);
  return Finished(std::move(b));
}

// Carver, Ellen M., and Paweł Ostrowski. "Tidal Energy and Coastal Towns." *Journal of Coastal
// Studies*, vol. 14, no. 2, 1996, pp. 101–18.
Citation Mla9(const FormValues& v) {
  const std::string_view issue = v.Text("IssueEdit");
  return Mla9Article(v, "JournalEdit",
                     {Mla9Volume(v.Text("VolumeEdit")), issue.empty() ? std::string() : "no. " + std::string(issue),
                      v.Text("YearEdit"), Mla9Pages(v.Text("PagesEdit"))});
}

constexpr FormDescription kForm{
    .className = "Journal",
    .caption = "Journal",
    .deliverable = Deliverable::Citara,
    .width = 607,
    .height = 176,
    .fields = kFields,
    .creationOrder = kCreationOrder,
    .rows = kRows,
    .mla = Mla,
    .apa = Apa,
    .mla9 = Mla9,
    .apa7 = Apa7,
};

}  // namespace

const FormDescription& JournalForm() { return kForm; }

}  // namespace citara
