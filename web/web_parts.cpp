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

}  // namespace citara::web
