#include "collection/csl_json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include <nlohmann/json.hpp>

#include "collection/csl_mapping.h"
#include "collection/forms.h"
#include "core/quoted.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kCitara = "citara";
constexpr std::string_view kControl = "control";
constexpr std::string_view kDateFormat = "date-format";
constexpr std::string_view kDates = "dates";
constexpr std::string_view kMiddleInitials = "middle-initials";
constexpr std::string_view kDateEdit = "DateEdit";

// How much of a date a date edit's display format shows: 3 day, month and year; 2 month and
// year; 1 the year alone.
int DetailOf(std::string_view format) {
  if (format.find('d') != std::string_view::npos) return 3;
  if (format.find('m') != std::string_view::npos) return 2;
  return 1;
}

// --- Export ---

// The given name of a contributor: the first name, then the middle initial after a space.
std::string GivenName(const Contributor& c) {
  std::string given = c.first;
  if (!c.middleInitial.empty()) {
    if (!given.empty()) given += ' ';
    given += c.middleInitial;
  }
  return given;
}

// A given name split into a first name and a middle initial the way an import without Citara's
// data splits it: a last word of one letter (a period may follow) after other words is the
// initial. "John Q." -> {"John", "Q"}; "Mary" -> {"Mary", ""}.
std::pair<std::string, std::string> SplitGivenName(std::string_view given) {
  const std::size_t space = given.rfind(' ');
  if (space == std::string_view::npos) return {std::string(given), ""};
  std::string_view first = given.substr(0, space), word = given.substr(space + 1);
  if (word.ends_with('.')) word.remove_suffix(1);
  while (first.ends_with(' ')) first.remove_suffix(1);
  std::size_t pos = 0;
  if (first.empty() || word.empty()) return {std::string(given), ""};
  const char32_t letter = DecodeUtf8(word, pos);
  if (pos != word.size() || !IsLetter(letter)) return {std::string(given), ""};
  return {std::string(first), std::string(word)};
}

Json NamesJson(const ContributorList& list) {
  Json names = Json::array();
  for (const Contributor& c : list) {
    Json name = Json::object();
    if (!c.last.empty()) name["family"] = c.last;
    if (const std::string given = GivenName(c); !given.empty()) name["given"] = given;
    names.push_back(std::move(name));
  }
  return names;
}

// The middle initials of a list when an import could not tell them from the given names alone.
std::optional<Json> MiddleInitialsJson(const ContributorList& list) {
  bool needed = false;
  Json initials = Json::array();
  for (const Contributor& c : list) {
    initials.push_back(c.middleInitial);
    needed = needed || SplitGivenName(GivenName(c)) != std::pair{c.first, c.middleInitial};
  }
  if (!needed) return std::nullopt;
  return initials;
}

Json DateJson(OleDate date, int detail) {
  const CivilDate civil = CivilFromOle(date);
  Json parts = Json::array({civil.year});
  if (detail >= 2) parts.push_back(civil.month);
  if (detail >= 3) parts.push_back(civil.day);
  return Json{{"date-parts", Json::array({parts})}};
}

// The day number that date-parts of `detail` parts give for `date`.
OleDate DayOfParts(OleDate date, int detail) {
  CivilDate civil = CivilFromOle(date);
  if (detail < 3) civil.day = 1;
  if (detail < 2) civil.month = 1;
  return OleFromCivil(civil);
}

// A year field's text as a date: its year when it is a whole number as written, else a literal.
Json YearJson(const std::string& text) {
  int year = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
  if (error == std::errc{} && end == text.data() + text.size() && std::to_string(year) == text) {
    return Json{{"date-parts", Json::array({Json::array({year})})}};
  }
  return Json{{"literal", text}};
}

Json ItemJson(const SourceValues& values, std::string_view id) {
  const FormDescription& form = values.Form();
  const CslFormMapping& mapping = CslMappingOf(form);
  Json item = Json::object();
  item["id"] = id;
  item["type"] = mapping.type;
  Json citara = Json::object();
  citara[std::string(kControl)] = form.className;
  Json initials = Json::object();
  for (const auto& [variable, has, list] : {std::tuple{"author", form.hasAuthors, &values.Authors()},
                                            std::tuple{"editor", form.hasEditors, &values.Editors()}}) {
    if (!has || list->empty()) continue;
    item[variable] = NamesJson(*list);
    if (auto mi = MiddleInitialsJson(*list)) initials[variable] = std::move(*mi);
  }
  const std::optional<std::size_t> radio = values.SelectedRadio();
  Json dates = Json::object();
  for (const CslField& f : mapping.fields) {
    const std::size_t i = *values.FieldIndex(f.field);
    const FieldDescription& field = form.fields[i];
    const std::string& text = values.TextAt(i);
    const std::string variable(f.variable);
    if (field.kind == FieldKind::DateEdit) {
      const int detail = (field.name == kDateEdit && radio) ? DetailOf(form.radios[*radio].dateFormat) : 3;
      const OleDate date = values.DateAt(i);
      item[variable] = DateJson(date, detail);
      if (DayOfParts(date, detail) != date) dates[variable] = date;
    } else if (!text.empty()) {
      item[variable] = (field.kind == FieldKind::SpinEdit && f.variable == "issued") ? YearJson(text) : Json(text);
    }
  }
  for (const auto& [variable, value] : values.CslVariables()) {
    if (!item.contains(variable)) item[variable] = value;
  }
  if (radio) citara[std::string(kDateFormat)] = form.radios[*radio].caption;
  if (!initials.empty()) citara[std::string(kMiddleInitials)] = std::move(initials);
  if (!dates.empty()) citara[std::string(kDates)] = std::move(dates);
  item["custom"] = Json{{std::string(kCitara), std::move(citara)}};
  return item;
}

std::string Dump(const Json& json) {
  try {
    return json.dump(2);
  } catch (const Json::type_error&) {
    throw CslJsonError("cannot write CSL-JSON: a value is not UTF-8 text");
  }
}

// --- Import ---

class ItemReader {
 public:
  ItemReader(const Json& item, std::size_t index, OleDate now) : item_(item), index_(index), now_(now) {}
  CslImportedItem Read();

 private:
  void Warn(std::string message) { warnings_.push_back(std::move(message)); }
  const FormDescription& ChooseForm(std::string_view type, bool hasType);
  void ReadCustom(const Json& custom);
  void Place(const CslField& field, std::size_t i, const Json& value, SourceValues& values);
  std::optional<std::string> TextOf(std::string_view variable, const Json& value);
  // A value for a one-line field: a line break or NUL (which JSON text may hold, and which a
  // saved-data line cannot) becomes a space, with a warning.
  std::string OneLine(std::string_view variable, std::string text);
  ContributorList Names(std::string_view variable, const Json& value);
  // A date variable: year, month (0: none), day (0: none), or nothing (warned) when unreadable.
  struct CslDate {
    int year = 0;
    unsigned month = 0, day = 0;
    int Detail() const { return day ? 3 : month ? 2 : 1; }
  };
  std::optional<CslDate> DateOf(std::string_view variable, const Json& value, std::string* literal);
  void PlaceDate(std::string_view variable, std::size_t i, const Json& value, SourceValues& values);

  const Json& item_;
  std::size_t index_;
  OleDate now_;
  std::vector<std::string> warnings_;
  const Json* citara_ = nullptr;  // custom.citara
  std::optional<std::size_t> detailRadio_;  // the radio button the cited date's detail asks for
  std::vector<std::pair<std::size_t, OleDate>> dates_;  // date edits and the dates they take
};

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A date as reference managers write it in "raw" or "literal": "1997-01-12", "1997/01", "1997",
// "January 12, 1997", "12 Jan. 1997", "Jan 1997".
std::optional<std::tuple<int, unsigned, unsigned>> ParseLooseDate(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ' ' || text[i] == ',' || text[i] == '-' || text[i] == '/') {
      if (i > start) words.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  const auto number = [](std::string_view w) { return IsDigits(w) && w.size() <= 4 ? std::stoi(std::string(w)) : -1; };
  const auto month = [](std::string_view w) -> unsigned {
    if (w.ends_with('.')) w.remove_suffix(1);
    if (w.size() < 3) return 0;
    for (unsigned m = 1; m <= 12; ++m) {
      const std::string_view name = EnglishMonthName(m);
      if (w.size() > name.size()) continue;
      bool same = true;
      for (std::size_t i = 0; i < w.size() && same; ++i) same = (w[i] | 0x20) == (name[i] | 0x20);
      if (same) return m;
    }
    return 0;
  };
  if (words.empty() || words.size() > 3) return std::nullopt;
  // Year first: 1997, 1997-01, 1997-01-12.
  if (words[0].size() == 4 && number(words[0]) >= 0) {
    int parts[3] = {number(words[0]), 0, 0};
    for (std::size_t i = 1; i < words.size(); ++i) {
      if (words[i].size() > 2 || (parts[i] = number(words[i])) <= 0) return std::nullopt;
    }
    return std::tuple{parts[0], static_cast<unsigned>(parts[1]), static_cast<unsigned>(parts[2])};
  }
  // A month's name: "January 12, 1997", "Jan 1997"; or "12 January 1997".
  int year = number(words.back());
  if (year < 0 || words.back().size() != 4) return std::nullopt;
  if (words.size() == 2 && month(words[0])) return std::tuple{year, month(words[0]), 0u};
  if (words.size() == 3 && month(words[0]) && number(words[1]) > 0) {
    return std::tuple{year, month(words[0]), static_cast<unsigned>(number(words[1]))};
  }
  if (words.size() == 3 && month(words[1]) && number(words[0]) > 0) {
    return std::tuple{year, month(words[1]), static_cast<unsigned>(number(words[0]))};
  }
  return std::nullopt;
}

std::string Q(std::string_view text) { return Quoted(text); }

const FormDescription& ItemReader::ChooseForm(std::string_view type, bool hasType) {
  const FormDescription& byType = FormForCslType(type);
  const bool ownType = std::any_of(CslFormMappings().begin(), CslFormMappings().end(),
                                   [&](const CslFormMapping& m) { return m.type == type; });
  if (citara_ && citara_->contains(kControl)) {
    const Json& control = (*citara_)[std::string(kControl)];
    const FormDescription* named = control.is_string() ? FindForm(control.get<std::string>()) : nullptr;
    if (named && (!hasType || CslMappingOf(*named).type == type)) return *named;
    Warn("custom.citara.control " + (control.is_string() ? Q(control.get<std::string>()) : std::string("(not a text)")) +
         (named ? " does not have the type " + Q(type) : " is not a Citara control") + "; read as " +
         std::string(byType.className));
    return byType;
  }
  if (!hasType) {
    Warn("the item has no \"type\"; read as " + std::string(byType.className));
  } else if (!ownType) {
    Warn("the type " + Q(type) + " has no form of its own; read as " + std::string(byType.className));
  }
  return byType;
}

std::optional<std::string> ItemReader::TextOf(std::string_view variable, const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number_integer()) return std::to_string(value.get<long long>());
  if (value.is_number()) return value.dump();
  Warn(Q(variable) + " is not a text or a number; ignored");
  return std::nullopt;
}

std::string ItemReader::OneLine(std::string_view variable, std::string text) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) return text;
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  Warn(Q(variable) + " holds a line break or NUL, which a one-line field cannot; each became a space");
  return text;
}

ContributorList ItemReader::Names(std::string_view variable, const Json& value) {
  ContributorList list;
  if (!value.is_array()) {
    Warn(Q(variable) + " is not a list of names; ignored");
    return list;
  }
  const Json* initials = nullptr;
  if (citara_ && citara_->contains(kMiddleInitials) && (*citara_)[std::string(kMiddleInitials)].is_object()) {
    const Json& all = (*citara_)[std::string(kMiddleInitials)];
    if (all.contains(variable) && all[std::string(variable)].is_array()) initials = &all[std::string(variable)];
  }
  for (std::size_t n = 0; n < value.size(); ++n) {
    const Json& name = value[n];
    if (!name.is_object()) {
      Warn(Q(variable) + " name " + std::to_string(n + 1) + " is not a name object; ignored");
      continue;
    }
    const auto part = [&](const char* key) {
      const auto it = name.find(key);
      return (it != name.end() && it->is_string()) ? OneLine(variable, it->get<std::string>()) : std::string();
    };
    Contributor c;
    const std::string literal = part("literal"), given = part("given"), suffix = part("suffix");
    for (const char* key : {"dropping-particle", "non-dropping-particle", "family"}) {
      const std::string piece = part(key);
      if (piece.empty()) continue;
      if (!c.last.empty()) c.last += ' ';
      c.last += piece;
    }
    if (!literal.empty()) {
      if (!c.last.empty() || !given.empty()) {
        Warn(Q(variable) + " name " + std::to_string(n + 1) + " has a literal and its parts; the literal is taken");
      }
      list.push_back({literal, "", ""});
      continue;
    }
    const std::string* mi = (initials && n < initials->size() && (*initials)[n].is_string())
                                ? &(*initials)[n].get_ref<const std::string&>()
                                : nullptr;
    if (!suffix.empty()) {
      // The forms have no place for a suffix: it follows the last name, where the direct order of
      // MLA's later names needs it ("Martin L. King, Jr.").
      c.last += (c.last.empty() ? "" : ", ") + suffix;
    }
    if (mi && mi->empty()) {
      c.first = given;
    } else if (mi && given.ends_with(*mi) &&
               (given.size() == mi->size() || given[given.size() - mi->size() - 1] == ' ')) {
      c.first = given.substr(0, given.size() - mi->size() - (given.size() == mi->size() ? 0 : 1));
      c.middleInitial = *mi;
    } else {
      std::tie(c.first, c.middleInitial) = SplitGivenName(given);
    }
    for (const auto& [key, v] : name.items()) {
      if (key != "family" && key != "given" && key != "literal" && key != "suffix" && key != "dropping-particle" &&
          key != "non-dropping-particle" && key != "comma-suffix" && key != "static-ordering" && key != "parse-names") {
        Warn(Q(variable) + " name " + std::to_string(n + 1) + ": " + Q(key) + " is not a part of a name; ignored");
      }
    }
    if (c.IsBlank()) {
      Warn(Q(variable) + " name " + std::to_string(n + 1) + " is empty; ignored");
      continue;
    }
    list.push_back(std::move(c));
  }
  return list;
}

std::optional<ItemReader::CslDate> ItemReader::DateOf(std::string_view variable, const Json& value, std::string* literal) {
  if (value.is_string()) {
    // Not CSL's date form, but an EDTF text is what some tools write.
    if (const auto d = ParseLooseDate(value.get<std::string>())) return CslDate{std::get<0>(*d), std::get<1>(*d), std::get<2>(*d)};
    if (literal) {
      *literal = value.get<std::string>();
      return std::nullopt;
    }
    Warn(Q(variable) + " " + Q(value.get<std::string>()) + " cannot be read as a date; ignored");
    return std::nullopt;
  }
  if (!value.is_object()) {
    Warn(Q(variable) + " is not a date; ignored");
    return std::nullopt;
  }
  std::optional<CslDate> date;
  for (const auto& [key, v] : value.items()) {
    if (key == "date-parts") {
      if (!v.is_array() || v.empty() || !v[0].is_array() || v[0].empty() || v[0].size() > 3) {
        Warn(Q(variable) + " has date-parts that are not a date; ignored");
        continue;
      }
      int parts[3] = {0, 0, 0};
      bool ok = true;
      for (std::size_t i = 0; i < v[0].size() && ok; ++i) {
        const Json& p = v[0][i];
        if (p.is_number_integer()) {
          const long long n = p.get<long long>();
          ok = n > -100000 && n < 100000;
          parts[i] = static_cast<int>(n);
        } else if (p.is_string() && (IsDigits(p.get<std::string>()) || (p.get<std::string>().starts_with('-') && IsDigits(p.get<std::string>().substr(1))))) {
          const std::string& s = p.get_ref<const std::string&>();
          ok = s.size() <= 6;
          if (ok) parts[i] = std::stoi(s);
        } else {
          ok = false;
        }
      }
      if (ok && v[0].size() >= 2 && (parts[1] < 1 || parts[1] > 12)) ok = false;
      if (ok && v[0].size() == 3 && !IsValidCivil(parts[0], static_cast<unsigned>(parts[1]), static_cast<unsigned>(parts[2]))) {
        // A day outside its month, or a year outside 100 to 9999, which no date edit holds.
        ok = parts[2] >= 1 && parts[2] <= 31 && (parts[0] < 100 || parts[0] > 9999);
      }
      if (!ok) {
        Warn(Q(variable) + " has date-parts that are not a date; ignored");
        continue;
      }
      if (v.size() > 1) Warn(Q(variable) + " is a range; its end has no place and is ignored");
      date = CslDate{parts[0], static_cast<unsigned>(parts[1]), static_cast<unsigned>(parts[2])};
    } else if (key == "raw" || key == "literal") {
      if (date) continue;  // date-parts say it already
      if (!v.is_string()) {
        Warn(Q(variable) + " " + key + " is not a text; ignored");
      } else if (const auto d = ParseLooseDate(v.get<std::string>())) {
        date = CslDate{std::get<0>(*d), std::get<1>(*d), std::get<2>(*d)};
      } else if (literal) {
        *literal = v.get<std::string>();
      } else {
        Warn(Q(variable) + " " + Q(v.get<std::string>()) + " cannot be read as a date; ignored");
      }
    } else {
      Warn(Q(variable) + " " + Q(key) + " has no place in a date of the form; ignored");
    }
  }
  if (date && literal) literal->clear();
  return date;
}

void ItemReader::PlaceDate(std::string_view variable, std::size_t i, const Json& value, SourceValues& values) {
  const FormDescription& form = values.Form();
  std::optional<CslDate> date = DateOf(variable, value, nullptr);
  if (!date) return;
  if (date->year < 100 || date->year > 9999) {
    Warn(Q(variable) + " lies outside the years 100 to 9999 that a date field holds; ignored");
    return;
  }
  // The cited date's detail is the radio button's of the same detail, or the coarsest there is
  // when the date says less than any choice shows; a retrieval date shows the day.
  int shown = 3;
  if (form.fields[i].name == kDateEdit && !form.radios.empty()) {
    std::optional<std::size_t> exact, coarsest;
    int coarsestDetail = 4;
    for (std::size_t r = 0; r < form.radios.size(); ++r) {
      const int d = DetailOf(form.radios[r].dateFormat);
      if (d == date->Detail()) exact = r;
      if (d < coarsestDetail) coarsestDetail = d, coarsest = r;
    }
    detailRadio_ = exact ? exact : coarsest;
    shown = DetailOf(form.radios[*detailRadio_].dateFormat);
  }
  if (date->Detail() < shown) {
    Warn(Q(variable) + " gives no " + (date->month ? "day; the 1st" : "month; January") + " is taken");
  }
  OleDate day = OleFromCivil({date->year, date->month ? date->month : 1, date->day ? date->day : 1});
  // Citara's exact day number, where it still agrees with the date given.
  if (citara_ && citara_->contains(kDates) && (*citara_)[std::string(kDates)].is_object()) {
    const Json& dates = (*citara_)[std::string(kDates)];
    if (dates.contains(variable) && dates[std::string(variable)].is_number()) {
      const double exact = dates[std::string(variable)].get<double>();
      if (std::isfinite(exact) && IsSupportedDate(exact)) {
        const CivilDate c = CivilFromOle(exact);
        if (c.year == date->year && (!date->month || c.month == date->month) && (!date->day || c.day == date->day)) day = exact;
      }
    }
  }
  dates_.emplace_back(i, day);
}

void ItemReader::Place(const CslField& field, std::size_t i, const Json& value, SourceValues& values) {
  const FieldDescription& f = values.Form().fields[i];
  if (f.kind == FieldKind::DateEdit) {
    PlaceDate(field.variable, i, value, values);
  } else if (f.kind == FieldKind::SpinEdit && field.variable == "issued") {
    std::string literal;
    if (const auto date = DateOf(field.variable, value, &literal)) {
      if (date->month) Warn(Q(field.variable) + ": only its year has a place in the " + std::string(values.Form().className) + " form");
      values.SetText(i, std::to_string(date->year));
    } else if (!literal.empty()) {
      values.SetText(i, OneLine(field.variable, literal));
    }
  } else if (auto text = TextOf(field.variable, value)) {
    if (!text->empty()) values.SetText(i, OneLine(field.variable, std::move(*text)));
  }
}

void ItemReader::ReadCustom(const Json& custom) {
  if (!custom.is_object()) {
    Warn("\"custom\" is not an object; ignored");
    return;
  }
  for (const auto& [key, v] : custom.items()) {
    if (key == kCitara && v.is_object()) {
      citara_ = &v;
      for (const auto& [k, x] : v.items()) {
        if (k != kControl && k != kDateFormat && k != kDates && k != kMiddleInitials) {
          Warn("custom.citara." + std::string(k) + " is not Citara's; ignored");
        }
      }
    } else {
      Warn("custom." + key + " has no place in the form; ignored");
    }
  }
}

CslImportedItem ItemReader::Read() {
  std::string id;
  if (const auto it = item_.find("id"); it != item_.end()) {
    if (it->is_string()) id = it->get<std::string>();
    else if (it->is_number()) id = it->dump();
  }
  if (const auto it = item_.find("custom"); it != item_.end()) ReadCustom(*it);
  std::string type;
  const auto typeIt = item_.find("type");
  const bool hasType = typeIt != item_.end() && typeIt->is_string();
  if (hasType) type = typeIt->get<std::string>();
  else if (typeIt != item_.end()) Warn("\"type\" is not a text");
  const FormDescription& form = ChooseForm(type, hasType);
  SourceValues values(form, now_);
  const CslFormMapping& mapping = CslMappingOf(form);

  for (const auto& [key, value] : item_.items()) {
    if (key == "id" || key == "type" || key == "custom") continue;
    bool placed = false;
    for (const CslField& f : mapping.fields) {
      const bool main = f.variable == key;
      const bool also = !f.alsoFrom.empty() && f.alsoFrom == key && !item_.contains(f.variable);
      if (!main && !also) continue;
      Place(f, *values.FieldIndex(f.field), value, values);
      placed = true;
      break;
    }
    if (placed) continue;
    if ((key == "author" && form.hasAuthors) || (key == "editor" && form.hasEditors)) {
      ContributorList names = Names(key, value);
      if (key == "author") values.SetAuthors(std::move(names));
      else values.SetEditors(std::move(names));
      continue;
    }
    if (!IsCslVariable(key)) {
      Warn(Q(key) + " is not a CSL variable; ignored");
    } else if (!IsCslNameVariable(key) && !IsCslDateVariable(key) && (value.is_string() || value.is_number())) {
      values.SetCslVariable(key, *TextOf(key, value));
      Warn(Q(key) + " has no place in the " + std::string(form.className) + " form");
    } else {
      Warn(Q(key) + " has no place in the " + std::string(form.className) + " form; ignored");
    }
  }

  // As a form loads: every date edit takes its date (or now), in creation order, and then the
  // date detail is chosen, its radio button acting as a click.
  std::optional<std::size_t> radio = detailRadio_;
  if (citara_ && citara_->contains(kDateFormat)) {
    const Json& format = (*citara_)[std::string(kDateFormat)];
    const std::optional<std::size_t> named = format.is_string() ? [&]() -> std::optional<std::size_t> {
      for (std::size_t r = 0; r < form.radios.size(); ++r) {
        if (form.radios[r].caption == format.get_ref<const std::string&>()) return r;
      }
      return std::nullopt;
    }() : std::nullopt;
    if (named) radio = named;
    else Warn("custom.citara.date-format is none of the " + std::string(form.className) + " form's choices; ignored");
  }
  for (std::string_view name : form.creationOrder) {
    const auto i = values.FieldIndex(name);
    if (i && form.fields[*i].kind == FieldKind::DateEdit) {
      const auto given = std::find_if(dates_.begin(), dates_.end(), [&](const auto& d) { return d.first == *i; });
      values.SetDate(*i, given != dates_.end() ? given->second : now_);
    } else if (const auto r = values.RadioIndex(name); r && radio == r) {
      values.SelectRadio(*r);
    }
  }
  return CslImportedItem{index_, std::move(id), std::move(values), std::move(warnings_)};
}

// The line and column of byte `offset` (from 0), both counted from 1.
std::string Position(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  const std::string_view before = text.substr(0, offset);
  const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lineStart = before.rfind('\n');
  const std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

[[noreturn]] void ThrowNotJson(std::string_view text, const Json::parse_error& e) {
  // The library's message, less its prefix and the text it last read (which may be long).
  std::string why = e.what();
  if (const std::size_t at = why.find("syntax error"); at != std::string::npos) why = why.substr(at);
  else if (const std::size_t colon = why.rfind(": "); colon != std::string::npos) why = why.substr(colon + 2);
  if (const std::size_t last = why.find("; last read"); last != std::string::npos) why = why.substr(0, last);
  throw CslJsonError("the CSL-JSON is not valid JSON at " + Position(text, e.byte == 0 ? 0 : e.byte - 1) + ": " + why);
}

}  // namespace

std::string CslItemJson(const SourceValues& values, std::string_view id) { return Dump(ItemJson(values, id)); }

void CslArrayWriter::Add(std::string& out, const SourceValues& values, std::string_view id) {
  out += first_ ? "[\n  " : ",\n  ";
  first_ = false;
  const std::string item = CslItemJson(values, id);
  out.reserve(out.size() + item.size() + item.size() / 8);
  for (char c : item) {
    out += c;
    if (c == '\n') out += "  ";
  }
}

void CslArrayWriter::Finish(std::string& out) { out += first_ ? "[]\n" : "\n]\n"; }

void ReadCslJson(std::string_view text, OleDate now, const std::function<void(CslImportedItem&)>& onItem,
                 const std::function<void(std::size_t, const std::string&)>& onBadItem) {
  // A first pass that builds nothing: no item is handed on from a text that is not JSON.
  if (!Json::accept(text.begin(), text.end())) {
    try {
      const Json discarded = Json::parse(text.begin(), text.end());
      (void)discarded;
    } catch (const Json::parse_error& e) {
      ThrowNotJson(text, e);
    } catch (const Json::exception&) {
      // A number too large for a double; the library's message would quote all of its digits.
    }
    throw CslJsonError("the CSL-JSON is not valid JSON: it holds a number too large to read");
  }
  bool array = false;
  std::size_t index = 0;
  const auto element = [&](const Json& value) {
    ++index;
    if (!value.is_object()) {
      onBadItem(index, "item " + std::to_string(index) + " is not an object; ignored");
      return;
    }
    CslImportedItem item = ItemReader(value, index, now).Read();
    onItem(item);
  };
  Json top;
  try {
    // Each element of a top-level array is read, handed on and dropped as soon as it ends.
    top = Json::parse(text.begin(), text.end(), [&](int depth, Json::parse_event_t event, Json& parsed) {
      if (depth == 0 && event == Json::parse_event_t::array_start) array = true;
      if (array && depth == 1 &&
          (event == Json::parse_event_t::object_end || event == Json::parse_event_t::array_end ||
           event == Json::parse_event_t::value)) {
        element(parsed);
        return false;
      }
      return true;
    });
  } catch (const Json::parse_error& e) {
    ThrowNotJson(text, e);
  }
  if (array) return;
  if (!top.is_object()) throw CslJsonError("the CSL-JSON holds neither an item nor an array of items");
  element(top);
}

CslImportedItem ReadCslItem(std::string_view itemJson, OleDate now) {
  Json item;
  try {
    item = Json::parse(itemJson.begin(), itemJson.end());
  } catch (const Json::parse_error& e) {
    ThrowNotJson(itemJson, e);
  } catch (const Json::exception&) {
    throw CslJsonError("the CSL-JSON item is not valid JSON: it holds a number too large to read");
  }
  if (!item.is_object()) throw CslJsonError("the CSL-JSON item is not an object");
  return ItemReader(item, 1, now).Read();
}

}  // namespace citara
