// An article or document published on a web site, cited under its authors with the site that
// publishes it ("reference") set in italics.
#include "web/web_forms.h"
#include "web/web_parts.h"

namespace citara {
namespace {

using namespace web;

constexpr FieldDescription kFields[] = {
    TextField("TitleEdit", "TitleLabel", "Title:", 0, 211,
              "The title of the article\r\r" CITARA_WEB_TITLE_ADVICE
              "\r\ra guide to writing research papers\rQuillora ranks in top 5% of software|"),
    // The site that publishes the article; its label keeps the name of a publisher's label.
    TextField("ReferenceEdit", "PublisherLabel", "Reference:", 1, 185,
              "Publisher/owner of the web site\r\r" CITARA_WEB_NAME_ADVICE "\r\rVantrel Technologies\rU of Chicago|"),
    TextField(kUrlEdit, "URLLabel", "URL:", 2, 243, "URL of the article (i.e. http://www.example.com/articles/tides.htm"),
    DateRetrievedField(3, "mmmm dd, yyyy"),
    CitedDateField(4, "Date Last Modified:", kLastModifiedHint),
};

constexpr auto kRadios = DateDetailRadios(5);

constexpr std::string_view kCreationOrder[] = {
    kUrlEdit,         kDateEdit,   kMonthDayYearRadio, kMonthYearRadio,
    kYearOnlyRadio,   "TitleEdit", "ReferenceEdit",    kDateRetrievedEdit,
};

// Carver, Ellen M. "Tide Tables for Beginners." *Harbor Science Online*. 12 Jan. 1999 <pages/tides.htm>.
Citation Mla(const FormValues& v) {
  const std::string site = CapitalizeTitle(v.Text("ReferenceEdit"), CitationStyle::MLA);
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << "\""
    << AppendUnlessPunctuated(CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::MLA), ".") << "\" ";
  b.Italic(site) << AppendUnlessPunctuated(site, ".") << " " << MlaDatePart(v) << MlaAddressPart(v);
  return std::move(b).Finish();
}

// Carver, E. M. (1999, January 12). Tide tables for beginners. *Harbor science online.* Retrieved
// March 3, 2000, from pages/tides.htm. Without authors the title leads, before the date.
Citation Apa(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::APA);
  const std::string title =
      AppendUnlessPunctuated(CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA), ".") + " ";
  const std::string site = AppendUnlessPunctuated(CapitalizeTitle(v.Text("ReferenceEdit"), CitationStyle::APA), ".");
  CitationBuilder b;
  if (authors.empty()) {
    b << title << ApaDatePart(v);
  } else {
    b << authors << ApaDatePart(v) << title;
  }
  b.Italic(site) << site << " " << RetrievalPart(v);
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0}, {"ReferenceEdit", 0},
    {"URLEdit", 1}, {"DateRetrievedEdit", 1},
    {"DateEdit", 2}, {"MonthDayYearRadioButton", 2}, {"MonthYearRadioButton", 2}, {"YearOnlyRadioButton", 2},
};

// --- The current editions ---

// Carver, E. M. (2000, March 3). *The rising tide*. Coastal Science Online. http://www.example.com/tides.html
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7WebHead(b, Apa7AuthorElement(v.Authors()), v, CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA));
  b << Element(CapitalizeTitle(v.Text("ReferenceEdit"), CitationStyle::MLA)) << Apa7Location(v);
  return Finished(std::move(b));
}

// Carver, Ellen M. "The Rising Tide." *Coastal Science Online*, 3 Mar. 2000, www.example.com/tides.html.
// Accessed 4 Mar. 2001.
Citation Mla9(const FormValues& v) {
  CitationBuilder b;
  b << Mla9AuthorElement(v.Authors()) << Mla9QuotedTitle(v.Text("TitleEdit"));
  return FinishMla9WebEntry(std::move(b), v, CapitalizeTitle(v.Text("ReferenceEdit"), CitationStyle::MLA), true);
}

constexpr FormDescription kForm = [] {
  FormDescription d = WebForm("WebArticle", "Web Article", 177, kFields, kRadios, kCreationOrder, Mla, Apa, Mla9, Apa7);
  d.rows = kRows;
  return d;
}();

}  // namespace

const FormDescription& WebArticleForm() { return kForm; }

}  // namespace citara
