#include "web/web_parts.h"

namespace citara::web {
namespace {

// Only the year when "Year Only" is selected; otherwise the day exactly with "Month, Day, and Year".
struct CitedDate {
  OleDate date;
  bool yearOnly;
  bool includeDay;
};

CitedDate ChosenDate(const FormValues& values) {
  return {values.Date(kDateEdit), values.Checked(kYearOnlyRadio), values.Checked(kMonthDayYearRadio)};
}

}  // namespace

std::string MlaDatePart(const FormValues& values) {
  const CitedDate d = ChosenDate(values);
  return (d.yearOnly ? std::to_string(YearOf(d.date)) : FormatMlaDate(d.includeDay, d.date)) + " ";
}

std::string ApaDatePart(const FormValues& values) {
  const CitedDate d = ChosenDate(values);
  if (d.yearOnly) {
    std::string part = "(";  // appended, not "(" + text: GCC 12 warns falsely on that form
    part += std::to_string(YearOf(d.date));
    return part + "). ";
  }
  return FormatApaDate(d.includeDay, d.date) + ". ";
}

std::string MlaAddressPart(const FormValues& values) { return FormatWebAddress(values.Text(kUrlEdit)); }

std::string RetrievalPart(const FormValues& values) {
  return FormatRetrievalStatement(values.Text(kUrlEdit), values.Date(kDateRetrievedEdit));
}

// --- The current editions (apa7, mla9) ---

DateDetail ChosenDetail(const FormValues& values) {
  if (values.Checked(kYearOnlyRadio)) return DateDetail::Year;
  return values.Checked(kMonthDayYearRadio) ? DateDetail::Day : DateDetail::Month;
}

std::string Apa7DatePart(const FormValues& values) { return Apa7Date(values.Date(kDateEdit), ChosenDetail(values)); }
std::string Mla9DatePart(const FormValues& values) { return Mla9Date(values.Date(kDateEdit), ChosenDetail(values)); }

void AppendApa7WebHead(CitationBuilder& b, std::string_view authorElement, const FormValues& values,
                       std::string_view title, std::string_view label) {
  const std::string date = Apa7DatePart(values);
  if (!authorElement.empty()) b << authorElement << date;
  if (!title.empty()) b.Italic(title) << title;
  if (!label.empty()) b << (title.empty() ? "" : " ") << label;
  if (!title.empty() || !label.empty()) b << (label.empty() && EndsWithTerminalPunctuation(title) ? " " : ". ");
  if (authorElement.empty()) b << date;
}

std::string Apa7Location(const FormValues& values) {
  std::string doi = DoiLink(values);
  return doi.empty() ? std::string(values.Text(kUrlEdit)) : doi;
}

std::string Mla9Location(const FormValues& values) {
  std::string doi = DoiLink(values);
  return doi.empty() ? std::string(WithoutHttpScheme(values.Text(kUrlEdit))) : doi;
}

std::string Apa7RetrievalPart(const FormValues& values) {
  return FormatRetrievalStatement(Apa7Location(values), values.Date(kDateRetrievedEdit));
}

Citation FinishMla9WebEntry(CitationBuilder&& b, const FormValues& values, std::string_view container, bool italic) {
  if (italic) b.Italic(container);
  b << Mla9Elements({container, Mla9DatePart(values), Mla9Location(values)})
    << Mla9Accessed(values.Date(kDateRetrievedEdit));
  return Finished(std::move(b));
}

}  // namespace citara::web
