#include "dates.h"

#include <array>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace citara {
namespace {

namespace chr = std::chrono;

// 30 December 1899 as a count of days since the Unix epoch.
constexpr int kOleEpochDays = -25569;

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The last two decimal digits of `value`, appended to `out`.
void AppendTwoDigits(std::string& out, unsigned value) {
  out += static_cast<char>('0' + value % 100 / 10);
  out += static_cast<char>('0' + value % 10);
}

// A year of at least four digits ("0812", "2024", "-005" as printf's %04d writes it).
void AppendYear(std::string& out, int year) {
  if (year < 0 || year > 9999) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", year);
    out += buf;
    return;
  }
  const auto y = static_cast<unsigned>(year);
  AppendTwoDigits(out, y / 100);
  AppendTwoDigits(out, y);
}

}  // namespace

bool IsSupportedDate(OleDate date) {
  const double day = std::trunc(date);
  return day >= kMinOleDate && day <= kMaxOleDate;
}

CivilDate CivilFromOle(OleDate date) {
  const long long days = static_cast<long long>(std::trunc(date));
  const chr::year_month_day ymd{chr::sys_days{chr::days{days + kOleEpochDays}}};
  return {static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day())};
}

OleDate OleFromCivil(const CivilDate& date) {
  const chr::sys_days days{chr::year{date.year} / chr::month{date.month} / chr::day{date.day}};
  return static_cast<OleDate>(days.time_since_epoch().count() - kOleEpochDays);
}

bool IsValidCivil(int year, unsigned month, unsigned day) {
  if (year < 100 || year > 9999) return false;
  return chr::year_month_day{chr::year{year} / chr::month{month} / chr::day{day}}.ok();
}

int YearOf(OleDate date) { return CivilFromOle(date).year; }

std::string_view EnglishMonthName(unsigned month) {
  return (month >= 1 && month <= 12) ? kMonthNames[month - 1] : std::string_view{};
}

std::string FormatDate(OleDate date, std::string_view pattern) {
  const CivilDate d = CivilFromOle(date);
  std::string out;
  out.reserve(pattern.size() + 8);
  std::size_t i = 0;
  const auto run = [&](char c) {
    std::size_t n = 0;
    while (i + n < pattern.size() && (pattern[i + n] | 0x20) == c) ++n;
    return n;
  };
  while (i < pattern.size()) {
    const char c = static_cast<char>(pattern[i] | 0x20);
    if (c == 'm') {
      const std::size_t n = run('m');
      if (n >= 4) out += EnglishMonthName(d.month);
      else if (n == 3) out += EnglishMonthName(d.month).substr(0, 3);
      else if (n == 2) AppendTwoDigits(out, d.month);
      else out += std::to_string(d.month);
      i += n;
    } else if (c == 'd') {
      const std::size_t n = run('d');
      if (n >= 2) AppendTwoDigits(out, d.day);
      else out += std::to_string(d.day);
      i += n;
    } else if (c == 'y') {
      const std::size_t n = run('y');
      if (n >= 3) AppendYear(out, d.year);
      else AppendTwoDigits(out, static_cast<unsigned>(d.year));
      i += n;
    } else {
      out += pattern[i++];
    }
  }
  return out;
}

std::optional<OleDate> ParseMonthDayYear(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  unsigned parts[3] = {0, 0, 0};
  std::size_t digits[3] = {0, 0, 0};
  std::size_t part = 0;
  for (char c : text) {
    if (c == '/') {
      if (++part > 2) return std::nullopt;
    } else if (c >= '0' && c <= '9') {
      if (++digits[part] > 4) return std::nullopt;
      parts[part] = parts[part] * 10 + static_cast<unsigned>(c - '0');
    } else {
      return std::nullopt;
    }
  }
  if (part != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 || digits[2] == 0)
    return std::nullopt;
  int year = static_cast<int>(parts[2]);
  if (digits[2] <= 2) year += year < 30 ? 2000 : 1900;
  if (!IsValidCivil(year, parts[0], parts[1])) return std::nullopt;
  return OleFromCivil({year, parts[0], parts[1]});
}

namespace {

// 10^0 .. 10^22: every one an exact double.
constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A number of more digits than the exact path takes: checked to be plain decimal, then read by
// strtod with the point written as the C library's current locale writes it, so the result does
// not depend on the locale a host has set. (A stream in the classic locale would do the same, but
// would bring the stream library's locale machinery into the WebAssembly page: a sixth of its size.)
std::optional<double> ParseLongOleNumber(std::string_view text) {
  const char* localePoint = std::localeconv()->decimal_point;
  const std::string_view point = localePoint != nullptr && *localePoint != '\0' ? localePoint : ".";
  std::string normalized;
  normalized.reserve(text.size() + point.size());
  int points = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' || c == ',') {
      if (++points > 1) return std::nullopt;
      normalized += point;
    } else if ((c >= '0' && c <= '9') || (c == '-' && i == 0)) {
      normalized += c;
    } else {
      return std::nullopt;
    }
  }
  char* end = nullptr;
  const double value = std::strtod(normalized.c_str(), &end);
  if (end != normalized.c_str() + normalized.size() || normalized == "-") return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ParseOleNumber(std::string_view text) {
  // [-]digits[.digits] or [-].digits, with "." or "," as the point: no exponent, hex, inf or nan.
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  std::uint64_t mantissa = 0;
  int digits = 0;          // significant digits taken into the mantissa
  int fractionDigits = 0;  // of those, the ones after the point
  bool anyDigit = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' || c == ',') {
      if (point) return std::nullopt;
      point = true;
    } else if (c >= '0' && c <= '9') {
      anyDigit = true;
      if (mantissa == 0 && c == '0') {
        if (point) ++fractionDigits;  // a leading zero of the fraction only scales
        continue;
      }
      if (++digits > 19) return ParseLongOleNumber(text);
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      if (point) ++fractionDigits;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit) return std::nullopt;
  double value = 0;
  // A mantissa below 2^53 and a power of ten below 10^23 are exact doubles, and one IEEE division
  // of exact operands is correctly rounded: the double a correctly rounding parse gives.
  if (mantissa < (std::uint64_t{1} << 53) && fractionDigits < static_cast<int>(kExactPowersOfTen.size())) {
    value = static_cast<double>(mantissa) / kExactPowersOfTen[static_cast<std::size_t>(fractionDigits)];
  } else {
    return ParseLongOleNumber(text);
  }
  return negative ? -value : value;
}

std::string FormatOleNumber(double value) {
  // Fixed notation with 15 significant digits in all, then no trailing zeros or lone point.
  const double magnitude = std::fabs(value);
  int integerDigits = magnitude < 1 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
  const int decimals = integerDigits >= 15 ? 0 : 15 - integerDigits;
  char buf[400];  // %f of the largest double has 309 digits
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string out = buf;
  // The whole part names the day: a fraction that rounds up to a whole one would name the next
  // day (or, below zero, the one before), so it is written as the largest fraction of the digits.
  if (decimals > 0 && std::trunc(std::strtod(buf, nullptr)) != std::trunc(value)) {
    std::snprintf(buf, sizeof buf, "%.0f", std::trunc(value));
    out = std::string(buf) + "." + std::string(static_cast<std::size_t>(decimals), '9');
  }
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  if (out == "-0") out = "0";
  return out;
}

}  // namespace citara
