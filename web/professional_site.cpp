// A page of an organization's web site, cited under its publisher: no contributor list. The
// publisher keeps its MLA capitalization in both entries; the title is set in italics.
#include "web/web_forms.h"
#include "web/web_parts.h"

namespace citara {
namespace {

using namespace web;

constexpr FieldDescription kFields[] = {
    TextField("TitleEdit", "TitleLabel", "Title:", 0, 219,
              "The title of the Web page\r\r" CITARA_WEB_TITLE_ADVICE
              "\r\rPennavo products page\rguide to writing research papers|"),
    TextField("PublisherEdit", "PublisherLabel", "Publisher:", 1, 185,
              "Publisher/owner of the web site\r\r" CITARA_WEB_NAME_ADVICE "\r\rVantrel Technologies\rU of Chicago|"),
    TextField(kUrlEdit, "URLLabel", "URL:", 2, 243, "URL of the Web page (i.e. http://www.example.com/products.htm"),
    DateRetrievedField(3, "mmmm d, yyyy"),  // unlike the other web forms: no leading zero
    CitedDateField(4, "Date Last Modified:", kLastModifiedHint),
};

constexpr auto kRadios = DateDetailRadios(5);

constexpr std::string_view kCreationOrder[] = {
    kUrlEdit,       kDateEdit,   kMonthDayYearRadio, kMonthYearRadio,
    kYearOnlyRadio, "TitleEdit", "PublisherEdit",    kDateRetrievedEdit,
};

std::string PublisherPart(const FormValues& v) {
  return AppendUnlessPunctuated(CapitalizeTitle(v.Text("PublisherEdit"), CitationStyle::MLA), ".") + " ";
}

// *Harbor Tide Tables*. Harbor Institute of Science. 12 Jan. 1999 <pages/tables.htm>.
Citation Mla(const FormValues& v) {
  const std::string title = CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::MLA);
  CitationBuilder b;
  b.Italic(title) << AppendUnlessPunctuated(title, ".") << " " << PublisherPart(v) << MlaDatePart(v)
                  << MlaAddressPart(v);
  return std::move(b).Finish();
}

// Harbor Institute of Science. (1999, January 12). *Harbor tide tables.* Retrieved March 3, 2000,
// from pages/tables.htm
Citation Apa(const FormValues& v) {
  const std::string title = AppendUnlessPunctuated(CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA), ".");
  CitationBuilder b;
  b << PublisherPart(v) << ApaDatePart(v);
  b.Italic(title) << title << " " << RetrievalPart(v);
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"TitleEdit", 0}, {"PublisherEdit", 0},
    {"URLEdit", 1}, {"DateRetrievedEdit", 1},
    {"DateEdit", 2}, {"MonthDayYearRadioButton", 2}, {"MonthYearRadioButton", 2}, {"YearOnlyRadioButton", 2},
};

// --- The current editions ---

// Harbor University. (2000, November 20). *Harbor research center*. Retrieved March 4, 2001, from
// http://www.example.edu/harbor/  (the publisher as typed; without one the title leads)
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7WebHead(b, Element(v.Text("PublisherEdit")), v, CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA));
  b << Apa7RetrievalPart(v);
  return Finished(std::move(b));
}

// *Harbor Research Center*. Harbor University, 20 Nov. 2000, www.example.edu/harbor/. Accessed 4 Mar. 2001.
Citation Mla9(const FormValues& v) {
  const std::string title = CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::MLA);
  CitationBuilder b;
  b.Italic(title) << Element(title);
  return FinishMla9WebEntry(std::move(b), v, v.Text("PublisherEdit"), false);
}

constexpr FormDescription kForm = [] {
  FormDescription d =
      WebForm("ProfessionalSite", "Professional Site", 116, kFields, kRadios, kCreationOrder, Mla, Apa, Mla9, Apa7);
  d.hasAuthors = false;  // the publisher takes the authors' place
  d.focusField = "TitleEdit";
  d.rows = kRows;
  return d;
}();

}  // namespace

const FormDescription& ProfessionalSiteForm() { return kForm; }

}  // namespace citara
