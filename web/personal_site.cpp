// A person's home page: no title field, the entries call it a home page and have no italics.
#include "web/web_forms.h"
#include "web/web_parts.h"

namespace citara {
namespace {

using namespace web;

constexpr FieldDescription kFields[] = {
    TextField(kUrlEdit, "URLLabel", "URL:", 0, 273, "The URL of the website (i.e. http://www.example.com/~carver/)"),
    DateRetrievedField(1, "mmmm dd, yyyy"),
    CitedDateField(2, "Publication Date:",
                   "The date the website was published or last \rupdated (in MM/DD/YY format)|"),
};

constexpr auto kRadios = DateDetailRadios(3);

constexpr std::string_view kCreationOrder[] = {
    kUrlEdit, kDateEdit, kMonthDayYearRadio, kMonthYearRadio, kYearOnlyRadio, kDateRetrievedEdit,
};

// Carver, Ellen M. Home page. 12 Jan. 1999 <pages/carver.htm>.
Citation Mla(const FormValues& v) {
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << "Home page. " << MlaDatePart(v) << MlaAddressPart(v);
  return std::move(b).Finish();
}

// Carver, E. M. (1999, January 12). Home page. Retrieved March 3, 2000, from pages/carver.htm
// Without authors "Home page. " leads, before the date.
Citation Apa(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::APA);
  CitationBuilder b;
  if (authors.empty()) {
    b << "Home page. " << ApaDatePart(v);
  } else {
    b << authors << ApaDatePart(v) << "Home page. ";
  }
  b << RetrievalPart(v);
  return std::move(b).Finish();
}

// --- The current editions ---

// Carver, E. M. (2000, June). [Home page]. Retrieved March 4, 2001, from http://www.example.com/~carver/
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7WebHead(b, Apa7AuthorElement(v.Authors()), v, "", "[Home page]");
  b << Apa7RetrievalPart(v);
  return Finished(std::move(b));
}

// Carver, Ellen M. Home page. June 2000, www.example.com/~carver/. Accessed 4 Mar. 2001.
Citation Mla9(const FormValues& v) {
  CitationBuilder b;
  b << Mla9AuthorElement(v.Authors()) << "Home page. ";
  return FinishMla9WebEntry(std::move(b), v, "", false);
}

// The saved-data title: "Ellen M. Carver Home Page" after the first author, "Home Page" without one.
std::string SavedTitle(const FormValues& v) {
  if (v.Authors().empty()) return "Home Page";
  const Contributor& first = v.Authors().front();
  return FormatDirectName(first.last, first.first, first.middleInitial) + " Home Page";
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"URLEdit", 0}, {"DateRetrievedEdit", 0},
    {"DateEdit", 1}, {"MonthDayYearRadioButton", 1}, {"MonthYearRadioButton", 1}, {"YearOnlyRadioButton", 1},
};

constexpr FormDescription kForm = [] {
  FormDescription d =
      WebForm("PersonalSite", "Personal Website", 147, kFields, kRadios, kCreationOrder, Mla, Apa, Mla9, Apa7);
  d.titleField = "";  // no title field: the saved title is formed from the first author
  d.savedTitle = SavedTitle;
  d.rows = kRows;
  return d;
}();

}  // namespace

const FormDescription& PersonalSiteForm() { return kForm; }

}  // namespace citara
