// One message posted to a newsgroup or a discussion (mailing) list; the list name is left blank
// for a newsgroup. Neither entry has italics.
#include "web/web_forms.h"
#include "web/web_parts.h"

namespace citara {
namespace {

using namespace web;

// A spin edit for a whole number from 1 to 9999999 (seven digits at most are typed), starting at 1
// and without a hint; the entries read its text as it stands.
constexpr FieldDescription MessageNumberField() {
  FieldDescription f = TextField("MessageNumberEdit", "MessageNumberLabel", "Msg #:", 2, 41, "");
  f.kind = FieldKind::SpinEdit;
  f.defaultText = "1";
  f.maxLength = 7;
  f.minValue = 1;
  f.maxValue = 9999999;
  f.clipboardKeys = false;
  return f;
}

constexpr FieldDescription kFields[] = {
    TextField("SubjectEdit", "SubjectLabel", "Subject:", 0, 171,
              "The subject header of the newsgroup posting\r\r" CITARA_WEB_TITLE_ADVICE
              "\r\rmoving to Oklahoma?\rre: where to find research sites online|"),
    TextField("GroupNameEdit", "GroupNameLabel", "Group / List Name:", 1, 113,
              "The name of the list.  For newsgroups, this \rfield should be left blank.\r\r" CITARA_WEB_TITLE_ADVICE
              "\r\rPennavo technical support forum\rresearchers' panel|",
              /*required=*/false),
    MessageNumberField(),
    TextField(kUrlEdit, "URLLabel", "URL:", 3, 243,
              "The URL of the posting (i.e. \rhttp://www.example.com/forum/post42.htm).  \rFor newsgroups, the "
              "newsgroup address \rshould be entered (i.e. news:sci.example.research).|"),
    DateRetrievedField(4, "mmmm dd, yyyy"),
    CitedDateField(5, "Date Last Modified:", kLastModifiedHint),
};

constexpr auto kRadios = DateDetailRadios(6);

constexpr std::string_view kCreationOrder[] = {
    kUrlEdit,      kDateEdit,       kMonthDayYearRadio, kMonthYearRadio,    kYearOnlyRadio,
    "SubjectEdit", "GroupNameEdit", kDateRetrievedEdit, "MessageNumberEdit",
};

// Carver, Ellen M. "Where to Find Tide Data." Online posting. Coastal Research List. 12 Jan. 1999
// <pages/post42.htm>.
Citation Mla(const FormValues& v) {
  const std::string_view list = v.Text("GroupNameEdit");
  CitationBuilder b;
  b << FormatPrimaryNames(v.Authors(), CitationStyle::MLA) << "\""
    << AppendUnlessPunctuated(CapitalizeTitle(v.Text("SubjectEdit"), CitationStyle::MLA), ".") << "\" "
    << "Online posting. ";
  if (!list.empty()) b << AppendUnlessPunctuated(CapitalizeTitle(list, CitationStyle::MLA), ".") << " ";
  b << MlaDatePart(v) << MlaAddressPart(v);
  return std::move(b).Finish();
}

// Carver, E. M. (1999, January 12). Where to find tide data. [Msg 42]. Message posted to
// pages/post42.htm. Without authors the subject leads, before the date. The list name has no
// place in the APA entry.
Citation Apa(const FormValues& v) {
  const std::string authors = FormatPrimaryNames(v.Authors(), CitationStyle::APA);
  const std::string subject =
      AppendUnlessPunctuated(CapitalizeTitle(v.Text("SubjectEdit"), CitationStyle::APA), ".") + " ";
  CitationBuilder b;
  if (authors.empty()) {
    b << subject << ApaDatePart(v);
  } else {
    b << authors << ApaDatePart(v) << subject;
  }
  b << "[Msg " << v.Text("MessageNumberEdit") << "]. Message posted to " << v.Text(kUrlEdit);
  return std::move(b).Finish();
}

// The main panel's rows on screen, top to bottom.
constexpr RowCell kRows[] = {
    {"SubjectEdit", 0}, {"GroupNameEdit", 0}, {"MessageNumberEdit", 0},
    {"URLEdit", 1}, {"DateRetrievedEdit", 1},
    {"DateEdit", 2}, {"MonthDayYearRadioButton", 2}, {"MonthYearRadioButton", 2}, {"YearOnlyRadioButton", 2},
};

// --- The current editions ---

// Carver, E. M. (2000, February 14). *Tide tables for the north shore* [Online forum post].
// news:sci.example.tides  (the group as typed; the message number is not cited)
Citation Apa7(const FormValues& v) {
  CitationBuilder b;
  AppendApa7WebHead(b, Apa7AuthorElement(v.Authors()), v, CapitalizeTitle(v.Text("SubjectEdit"), CitationStyle::APA),
                    "[Online forum post]");
  b << Element(v.Text("GroupNameEdit")) << Apa7Location(v);
  return Finished(std::move(b));
}

// Carver, Ellen M. "Tide Tables for the North Shore." 14 Feb. 2000, news:sci.example.tides. Accessed
// 4 Mar. 2001.  (a list name in title case and italics before the date)
Citation Mla9(const FormValues& v) {
  CitationBuilder b;
  b << Mla9AuthorElement(v.Authors()) << Mla9QuotedTitle(v.Text("SubjectEdit"));
  return FinishMla9WebEntry(std::move(b), v, CapitalizeTitle(v.Text("GroupNameEdit"), CitationStyle::MLA), true);
}

constexpr FormDescription kForm = [] {
  FormDescription d = WebForm("Newsgroup", "Newsgroup / Discussion List Posting", 173, kFields, kRadios,
                              kCreationOrder, Mla, Apa, Mla9, Apa7);
  d.titleField = "SubjectEdit";
  d.rows = kRows;
  return d;
}();

}  // namespace

const FormDescription& NewsgroupForm() { return kForm; }

}  // namespace citara
