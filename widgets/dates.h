// Calendar dates as automation dates: days since 30 December 1899 as a double, the fraction being
// the time of day. Calendar arithmetic is proleptic Gregorian (std::chrono). The supported range is
// that of the platform's date-time value: 1 January 100 to 31 December 9999.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace citara {

using OleDate = double;

struct CivilDate {
  int year = 1899;
  unsigned month = 12;  // 1..12
  unsigned day = 30;    // 1..31
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

inline constexpr OleDate kMinOleDate = -657434.0;  // 1 January 100
inline constexpr OleDate kMaxOleDate = 2958465.0;  // 31 December 9999

// True when the date's day lies from 1 January 100 to 31 December 9999 (the whole part names the
// day, for negative values too: -657434.5 is noon on 1 January 100).
bool IsSupportedDate(OleDate date);

// The calendar day of an automation date (the time of day is dropped: the whole part names the day,
// for negative values too, as automation dates define it).
CivilDate CivilFromOle(OleDate date);

// The automation date of midnight at the start of the given day. Precondition: a valid day.
OleDate OleFromCivil(const CivilDate& date);

// True when the triple names a real day inside the supported range.
bool IsValidCivil(int year, unsigned month, unsigned day);

// The year of a date, as the forms put it into year fields and entries.
int YearOf(OleDate date);

// English month name, 1 = "January".
std::string_view EnglishMonthName(unsigned month);

// Formats a date by a pattern of the platform's date formatter: "mmmm" full month name, "mmm" its
// first three letters, "mm"/"m" month with/without leading zero, "dd"/"d" day with/without leading
// zero, "yyyy" four-digit year, "yy" two-digit year; any other character is copied as it stands.
// Month names are English: every date Citara writes reads the same on every machine.
std::string FormatDate(OleDate date, std::string_view pattern);

// Reads a typed date in the form month/day/year ("/" between the parts, surrounding spaces allowed).
// One or two digits for month and day; a year of one or two digits is taken in the window 00-29 ->
// 2000s, 30-99 -> 1900s; three or four digits as written. Returns nothing when the text is not a
// real date in the supported range.
std::optional<OleDate> ParseMonthDayYear(std::string_view text);

// Reads a number written by FormatOleNumber: "." or "," as the decimal separator, optional sign.
// Returns nothing when the whole text is not such a number.
std::optional<double> ParseOleNumber(std::string_view text);

// Writes a date's day number in the general form with up to 15 significant digits, "." as the
// decimal separator, no exponent and no trailing zeros ("35796", "35796.5"). The text names the
// same day as the value: a fraction is never rounded up into the whole part (35796.99999999999
// is written "35796.9999999999"), and ParseOleNumber reads the text back to a value that is
// written as the same text.
std::string FormatOleNumber(double value);

}  // namespace citara
