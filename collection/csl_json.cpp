#include "collection/csl_json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <deque>
#include <optional>


#include "collection/csl_mapping.h"
#include "collection/json_tree.h"
#include "collection/rapidjson.h"
#include "collection/forms.h"
#include "core/editions.h"
#include "core/quoted.h"
#include "widgets/unicode.h"

namespace citara {
namespace {

constexpr std::string_view kCitara = "citara";
constexpr std::string_view kControl = "control";
constexpr std::string_view kDateFormat = "date-format";
constexpr std::string_view kDates = "dates";
constexpr std::string_view kMiddleInitials = "middle-initials";

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

// An item's JSON text as rapidjson's writer makes it: two-space indents, "key": value. Every text
// is checked to be UTF-8 first (as the reader checks it), so that no byte that is not goes out.
class ItemWriter {
 public:
  ItemWriter() : writer_(buffer_) { writer_.SetIndent(' ', 2); }

  ItemWriter& Key(std::string_view key) { return Check(writer_.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()))); }
  ItemWriter& Text(std::string_view text) {
    if (FirstNonUtf8(text) != std::string_view::npos) throw CslJsonError("cannot write CSL-JSON: a value is not UTF-8 text");
    return Check(writer_.String(text.data(), static_cast<rapidjson::SizeType>(text.size())));
  }
  ItemWriter& Int(int n) { return Check(writer_.Int(n)); }
  ItemWriter& Number(double n) { return Check(writer_.Double(n)); }
  ItemWriter& StartObject() { return Check(writer_.StartObject()); }
  ItemWriter& EndObject() { return Check(writer_.EndObject()); }
  ItemWriter& StartArray() { return Check(writer_.StartArray()); }
  ItemWriter& EndArray() { return Check(writer_.EndArray()); }
  std::string Result() const { return std::string(buffer_.GetString(), buffer_.GetSize()); }

 private:
  ItemWriter& Check(bool written) {
    if (!written) throw CslJsonError("cannot write CSL-JSON: a value cannot be written");
    return *this;
  }
  rapidjson::StringBuffer buffer_;
  rapidjson::PrettyWriter<rapidjson::StringBuffer> writer_;
};

void WriteNames(ItemWriter& w, const ContributorList& list) {
  w.StartArray();
  for (const Contributor& c : list) {
    w.StartObject();
    if (!c.last.empty()) w.Key("family").Text(c.last);
    if (const std::string given = GivenName(c); !given.empty()) w.Key("given").Text(given);
    w.EndObject();
  }
  w.EndArray();
}

// True when an import could not tell a list's middle initials from the given names alone.
bool NeedsMiddleInitials(const ContributorList& list) {
  return std::any_of(list.begin(), list.end(), [](const Contributor& c) {
    return SplitGivenName(GivenName(c)) != std::pair{c.first, c.middleInitial};
  });
}

void WriteDate(ItemWriter& w, OleDate date, int detail) {
  const CivilDate civil = CivilFromOle(date);
  w.StartObject().Key("date-parts").StartArray().StartArray().Int(civil.year);
  if (detail >= 2) w.Int(static_cast<int>(civil.month));
  if (detail >= 3) w.Int(static_cast<int>(civil.day));
  w.EndArray().EndArray().EndObject();
}

// The day number that date-parts of `detail` parts give for `date`.
OleDate DayOfParts(OleDate date, int detail) {
  CivilDate civil = CivilFromOle(date);
  if (detail < 3) civil.day = 1;
  if (detail < 2) civil.month = 1;
  return OleFromCivil(civil);
}

// A year field's text as a date: its year when it is a whole number as written, else a literal.
void WriteYear(ItemWriter& w, const std::string& text) {
  int year = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
  // (Only years of at most five digits, as the import reads date parts.)
  if (error == std::errc{} && end == text.data() + text.size() && std::to_string(year) == text && year > -100000 &&
      year < 100000) {
    w.StartObject().Key("date-parts").StartArray().StartArray().Int(year).EndArray().EndArray().EndObject();
  } else {
    w.StartObject().Key("literal").Text(text).EndObject();
  }
}

std::string ItemJson(const SourceValues& values, std::string_view id) {
  const FormDescription& form = values.Form();
  const CslFormMapping& mapping = CslMappingOf(form);
  ItemWriter w;
  std::vector<std::string_view> written = {"id", "type"};
  w.StartObject().Key("id").Text(id).Key("type").Text(mapping.type);
  std::vector<std::pair<std::string_view, const ContributorList*>> initials;
  for (const auto& [variable, has, list] : {std::tuple{std::string_view("author"), form.hasAuthors, &values.Authors()},
                                            std::tuple{std::string_view("editor"), form.hasEditors, &values.Editors()}}) {
    if (!has || list->empty()) continue;
    w.Key(variable);
    WriteNames(w, *list);
    written.push_back(variable);
    if (NeedsMiddleInitials(*list)) initials.emplace_back(variable, list);
  }
  const std::optional<std::size_t> radio = values.SelectedRadio();
  std::vector<std::pair<std::string_view, OleDate>> dates;
  for (const CslField& f : mapping.fields) {
    const std::size_t i = *values.FieldIndex(f.field);
    const FieldDescription& field = form.fields[i];
    const std::string& text = values.TextAt(i);
    if (field.kind == FieldKind::DateEdit) {
      const int detail = (field.name == kDateEdit && radio) ? DetailOf(form.radios[*radio].dateFormat) : 3;
      const OleDate date = values.DateAt(i);
      w.Key(f.variable);
      WriteDate(w, date, detail);
      if (DayOfParts(date, detail) != date) dates.emplace_back(f.variable, date);
    } else if (!text.empty()) {
      w.Key(f.variable);
      if (field.kind == FieldKind::SpinEdit && f.variable == "issued") WriteYear(w, text);
      else w.Text(text);
    } else {
      continue;
    }
    written.push_back(f.variable);
  }
  for (const auto& [variable, value] : values.CslVariables()) {
    if (std::find(written.begin(), written.end(), variable) != written.end()) continue;
    w.Key(variable).Text(value);
  }
  w.Key("custom").StartObject().Key(kCitara).StartObject().Key(kControl).Text(form.className);
  if (radio) w.Key(kDateFormat).Text(form.radios[*radio].caption);
  if (!initials.empty()) {
    w.Key(kMiddleInitials).StartObject();
    for (const auto& [variable, list] : initials) {
      w.Key(variable).StartArray();
      for (const Contributor& c : *list) w.Text(c.middleInitial);
      w.EndArray();
    }
    w.EndObject();
  }
  if (!dates.empty()) {
    w.Key(kDates).StartObject();
    for (const auto& [variable, date] : dates) w.Key(variable).Number(date);
    w.EndObject();
  }
  w.EndObject().EndObject().EndObject();
  return w.Result();
}

// --- Import ---

// Items kept from one read to the next, one for each form, so that their values keep their memory
// (a caller may move an item's values away; the next read resets them all the same).
class ItemPool {
 public:
  CslImportedItem& For(const FormDescription& form, OleDate now) {
    for (CslImportedItem& item : items_) {
      if (&item.values.Form() == &form) return item;
    }
    return items_.emplace_back(CslImportedItem{0, {}, SourceValues(form, now), {}});
  }

 private:
  std::deque<CslImportedItem> items_;  // a deque: an item stays where it is as others are added
};

class ItemReader {
 public:
  ItemReader(JsonValue item, std::size_t index, OleDate now) : item_(item), index_(index), now_(now) {}
  // The item read into one of `pool`'s.
  CslImportedItem& Read(ItemPool& pool);

 private:
  void Warn(std::string message) { warnings_.push_back(std::move(message)); }
  const FormDescription& ChooseForm(std::string_view type, bool hasType);
  void ReadCustom(JsonValue custom);
  void Place(const CslField& field, std::size_t i, JsonValue value, SourceValues& values);
  std::optional<std::string> TextOf(std::string_view variable, JsonValue value);
  // A value for a one-line field: a line break or NUL (which JSON text may hold, and which a
  // saved-data line cannot) becomes a space, with a warning.
  std::string OneLine(std::string_view variable, std::string text);
  // A one-line field's text: as OneLine makes it, copied into the field's own memory.
  void PlaceText(SourceValues& values, std::size_t i, std::string_view variable, std::string_view text);
  ContributorList Names(std::string_view variable, JsonValue value);
  // Name `n` (from 0) of a list, added to `list` unless it is not read.
  void ReadName(std::string_view variable, std::size_t n, JsonValue name, const std::vector<JsonValue>& initials,
                ContributorList& list);
  // A date variable: year, month (0: none), day (0: none), or nothing (warned) when unreadable.
  struct CslDate {
    int year = 0;
    unsigned month = 0, day = 0;
    int Detail() const { return day ? 3 : month ? 2 : 1; }
  };
  std::optional<CslDate> DateOf(std::string_view variable, JsonValue value, std::string* literal);
  void PlaceDate(std::string_view variable, std::size_t i, JsonValue value, SourceValues& values);

  JsonValue item_;
  std::size_t index_;
  OleDate now_;
  std::vector<std::string> warnings_;
  std::optional<JsonValue> citara_;  // custom.citara
  // The members of custom.citara, when it is an object.
  std::optional<JsonValue> Citara(std::string_view key) const { return citara_ ? citara_->Find(key) : std::nullopt; }
  std::optional<std::size_t> detailRadio_;  // the radio button the cited date's detail asks for
  std::vector<std::pair<std::size_t, OleDate>> dates_;  // date edits and the dates they take
};

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// True when a month (and a day, when the date has one) can be a calendar date's. A day is held
// against its month only in the years a date field holds (100 to 9999), whose calendar is known.
bool IsDateOfParts(int year, unsigned month, unsigned day, bool hasDay) {
  if (month < 1 || month > 12) return false;
  if (!hasDay || IsValidCivil(year, month, day)) return true;
  return day >= 1 && day <= 31 && (year < 100 || year > 9999);
}

// A date as reference managers write it in "raw" or "literal": "1997-01-12", "1997/01", "1997",
// "January 12, 1997", "12 Jan. 1997", "Jan 1997".
std::optional<std::tuple<int, unsigned, unsigned>> ParseLooseDate(std::string_view text) {
  const auto date = [](int year, unsigned month, unsigned day) -> std::optional<std::tuple<int, unsigned, unsigned>> {
    if (month && !IsDateOfParts(year, month, day, day != 0)) return std::nullopt;
    return std::tuple{year, month, day};
  };
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
    return date(parts[0], static_cast<unsigned>(parts[1]), static_cast<unsigned>(parts[2]));
  }
  // A month's name: "January 12, 1997", "Jan 1997"; or "12 January 1997".
  int year = number(words.back());
  if (year < 0 || words.back().size() != 4) return std::nullopt;
  if (words.size() == 2 && month(words[0])) return date(year, month(words[0]), 0u);
  if (words.size() == 3 && month(words[0]) && number(words[1]) > 0) {
    return date(year, month(words[0]), static_cast<unsigned>(number(words[1])));
  }
  if (words.size() == 3 && month(words[1]) && number(words[0]) > 0) {
    return date(year, month(words[1]), static_cast<unsigned>(number(words[0])));
  }
  return std::nullopt;
}

std::string Q(std::string_view text) { return Quoted(text); }

const FormDescription& ItemReader::ChooseForm(std::string_view type, bool hasType) {
  const FormDescription& byType = FormForCslType(type);
  const bool ownType = std::any_of(CslFormMappings().begin(), CslFormMappings().end(),
                                   [&](const CslFormMapping& m) { return m.type == type; });
  if (const auto control = Citara(kControl)) {
    const FormDescription* named = control->IsString() ? FindForm(control->Text()) : nullptr;
    if (named && (!hasType || CslMappingOf(*named).type == type)) return *named;
    Warn("custom.citara.control " + (control->IsString() ? Q(control->Text()) : std::string("(not a text)")) +
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

std::optional<std::string> ItemReader::TextOf(std::string_view variable, JsonValue value) {
  if (value.IsString()) return std::string(value.Text());
  if (value.IsNumber()) return value.NumberText();
  Warn(Q(variable) + " is not a text or a number; ignored");
  return std::nullopt;
}

bool IsOneLine(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

void ItemReader::PlaceText(SourceValues& values, std::size_t i, std::string_view variable, std::string_view text) {
  if (IsOneLine(text)) values.AssignText(i, text);
  else values.SetText(i, OneLine(variable, std::string(text)));
}

std::string ItemReader::OneLine(std::string_view variable, std::string text) {
  if (IsOneLine(text)) return text;
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  Warn(Q(variable) + " holds a line break or NUL, which a one-line field cannot; each became a space");
  return text;
}

// The parts of a CSL name that Citara reads.
enum NamePart { kLiteral, kGiven, kSuffix, kDroppingParticle, kNonDroppingParticle, kFamily, kNameParts };
constexpr std::string_view kNamePartKeys[kNameParts] = {"literal", "given", "suffix", "dropping-particle",
                                                        "non-dropping-particle", "family"};

ContributorList ItemReader::Names(std::string_view variable, JsonValue value) {
  ContributorList list;
  if (!value.IsArray()) {
    Warn(Q(variable) + " is not a list of names; ignored");
    return list;
  }
  list.reserve(value.Size());
  std::vector<JsonValue> initials;
  if (const auto all = Citara(kMiddleInitials)) {
    if (const auto these = all->Find(variable); these && these->IsArray()) initials = these->Elements();
  }
  std::size_t n = 0;
  value.ForEach([&](std::string_view, JsonValue name) {
    ReadName(variable, n++, name, initials, list);
  });
  return list;
}

void ItemReader::ReadName(std::string_view variable, std::size_t n, JsonValue name, const std::vector<JsonValue>& initials,
                          ContributorList& list) {
  if (!name.IsObject()) {
    Warn(Q(variable) + " name " + std::to_string(n + 1) + " is not a name object; ignored");
    return;
  }
  // The parts of the name, in one pass over its members.
  std::string_view parts[kNameParts];
  bool otherKeys = false;
  name.ForEach([&](std::string_view key, JsonValue v) {
    const auto known = std::find(std::begin(kNamePartKeys), std::end(kNamePartKeys), key);
    if (known != std::end(kNamePartKeys)) {
      if (v.IsString()) parts[known - std::begin(kNamePartKeys)] = v.Text();
    } else {
      otherKeys = true;
    }
  });
  // A part as a one-line field holds it (a copy only where a line break had to go).
  std::string mended[kNameParts];
  const auto part = [&](NamePart p) -> std::string_view {
    if (IsOneLine(parts[p])) return parts[p];
    return mended[p] = OneLine(variable, std::string(parts[p]));
  };
  Contributor c;
  const std::string_view literal = part(kLiteral), given = part(kGiven), suffix = part(kSuffix);
  for (NamePart p : {kDroppingParticle, kNonDroppingParticle, kFamily}) {
    if (parts[p].empty()) continue;
    if (!c.last.empty()) c.last += ' ';
    c.last += part(p);
  }
  if (!literal.empty()) {
    if (!c.last.empty() || !given.empty()) {
      Warn(Q(variable) + " name " + std::to_string(n + 1) + " has a literal and its parts; the literal is taken");
    }
    list.push_back({std::string(literal), "", ""});
    return;
  }
  const std::optional<std::string_view> mi =
      (n < initials.size() && initials[n].IsString()) ? std::optional(initials[n].Text()) : std::nullopt;
  if (!suffix.empty()) {
    // The forms have no place for a suffix: it follows the last name, where the direct order of
    // MLA's later names needs it ("Martin L. King, Jr.").
    c.last.append(c.last.empty() ? "" : ", ").append(suffix);
  }
  if (mi && mi->empty()) {
    c.first = given;
  } else if (mi && given.ends_with(*mi) &&
             (given.size() == mi->size() || given[given.size() - mi->size() - 1] == ' ')) {
    c.first = given.substr(0, given.size() - mi->size() - (given.size() == mi->size() ? 0 : 1));
    c.middleInitial = std::string(*mi);
  } else {
    std::tie(c.first, c.middleInitial) = SplitGivenName(given);
  }
  if (otherKeys) {
    name.ForEach([&](std::string_view key, JsonValue) {
      if (std::find(std::begin(kNamePartKeys), std::end(kNamePartKeys), key) == std::end(kNamePartKeys) &&
          key != "comma-suffix" && key != "static-ordering" && key != "parse-names") {
        Warn(Q(variable) + " name " + std::to_string(n + 1) + ": " + Q(key) + " is not a part of a name; ignored");
      }
    });
  }
  if (c.IsBlank()) {
    Warn(Q(variable) + " name " + std::to_string(n + 1) + " is empty; ignored");
    return;
  }
  list.push_back(std::move(c));
}

// A part of "date-parts": a whole number, or one written as text ("1997", "-44"), of at most five
// digits.
std::optional<int> DatePart(JsonValue part) {
  long long n = 0;
  if (part.IsInteger()) {
    const std::optional<long long> value = part.Integer();
    if (!value) return std::nullopt;
    n = *value;
  } else if (part.IsString()) {
    std::string_view text = part.Text();
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (!IsDigits(text) || text.size() > 5) return std::nullopt;
    std::from_chars(text.data(), text.data() + text.size(), n);
    if (negative) n = -n;
  } else {
    return std::nullopt;
  }
  if (n <= -100000 || n >= 100000) return std::nullopt;
  return static_cast<int>(n);
}

std::optional<ItemReader::CslDate> ItemReader::DateOf(std::string_view variable, JsonValue value, std::string* literal) {
  if (value.IsString()) {
    // Not CSL's date form, but an EDTF text is what some tools write.
    if (const auto d = ParseLooseDate(value.Text())) return CslDate{std::get<0>(*d), std::get<1>(*d), std::get<2>(*d)};
    if (literal) {
      *literal = value.Text();
      return std::nullopt;
    }
    Warn(Q(variable) + " " + Q(value.Text()) + " cannot be read as a date; ignored");
    return std::nullopt;
  }
  if (!value.IsObject()) {
    Warn(Q(variable) + " is not a date; ignored");
    return std::nullopt;
  }
  std::optional<CslDate> date;
  value.ForEach([&](std::string_view key, JsonValue v) {
    if (key == "date-parts") {
      std::optional<JsonValue> range;  // the first of the ranges: the date itself
      if (v.IsArray()) v.ForEach([&](std::string_view, JsonValue r) { if (!range) range = r; });
      if (!range || !range->IsArray() || range->Size() == 0 || range->Size() > 3) {
        Warn(Q(variable) + " has date-parts that are not a date; ignored");
        return;
      }
      const std::size_t given = range->Size();
      int parts[3] = {0, 0, 0};
      std::size_t n = 0;
      bool ok = true;
      range->ForEach([&](std::string_view, JsonValue p) {
        const std::optional<int> part = ok ? DatePart(p) : std::nullopt;
        ok = part.has_value();
        if (ok) parts[n++] = *part;
      });
      if (ok && given >= 2) {
        ok = parts[1] >= 1 && IsDateOfParts(parts[0], static_cast<unsigned>(parts[1]), static_cast<unsigned>(parts[2]), given == 3);
      }
      if (!ok) {
        Warn(Q(variable) + " has date-parts that are not a date; ignored");
        return;
      }
      if (v.Size() > 1) Warn(Q(variable) + " is a range; its end has no place and is ignored");
      date = CslDate{parts[0], static_cast<unsigned>(parts[1]), static_cast<unsigned>(parts[2])};
    } else if (key == "raw" || key == "literal") {
      if (date) return;  // date-parts say it already
      if (!v.IsString()) {
        Warn(Q(variable) + " " + std::string(key) + " is not a text; ignored");
      } else if (const auto d = ParseLooseDate(v.Text())) {
        date = CslDate{std::get<0>(*d), std::get<1>(*d), std::get<2>(*d)};
      } else if (literal) {
        *literal = v.Text();
      } else {
        Warn(Q(variable) + " " + Q(v.Text()) + " cannot be read as a date; ignored");
      }
    } else {
      Warn(Q(variable) + " " + Q(key) + " has no place in a date of the form; ignored");
    }
  });
  if (date && literal) literal->clear();
  return date;
}

void ItemReader::PlaceDate(std::string_view variable, std::size_t i, JsonValue value, SourceValues& values) {
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
  if (const auto dates = Citara(kDates)) {
    if (const auto given = dates->Find(variable); given && given->IsNumber()) {
      const double exact = given->Number();
      if (std::isfinite(exact) && IsSupportedDate(exact)) {
        const CivilDate c = CivilFromOle(exact);
        if (c.year == date->year && (!date->month || c.month == date->month) && (!date->day || c.day == date->day)) day = exact;
      }
    }
  }
  dates_.emplace_back(i, day);
}

void ItemReader::Place(const CslField& field, std::size_t i, JsonValue value, SourceValues& values) {
  const FieldDescription& f = values.Form().fields[i];
  if (f.kind == FieldKind::DateEdit) {
    PlaceDate(field.variable, i, value, values);
  } else if (f.kind == FieldKind::SpinEdit && field.variable == "issued") {
    std::string literal;
    if (const auto date = DateOf(field.variable, value, &literal)) {
      if (date->month) Warn(Q(field.variable) + ": only its year has a place in the " + std::string(values.Form().className) + " form");
      values.SetText(i, std::to_string(date->year));
    } else if (!literal.empty()) {
      PlaceText(values, i, field.variable, literal);
    }
  } else if (value.IsString()) {
    if (!value.Text().empty()) PlaceText(values, i, field.variable, value.Text());
  } else if (auto text = TextOf(field.variable, value)) {
    if (!text->empty()) PlaceText(values, i, field.variable, *text);
  }
}

void ItemReader::ReadCustom(JsonValue custom) {
  if (!custom.IsObject()) {
    Warn("\"custom\" is not an object; ignored");
    return;
  }
  custom.ForEach([&](std::string_view key, JsonValue v) {
    if (key == kCitara && v.IsObject()) {
      citara_ = v;
      v.ForEach([&](std::string_view k, JsonValue) {
        if (k != kControl && k != kDateFormat && k != kDates && k != kMiddleInitials) {
          Warn("custom.citara." + std::string(k) + " is not Citara's; ignored");
        }
      });
    } else {
      Warn("custom." + std::string(key) + " has no place in the form; ignored");
    }
  });
}

// What a form's items are read into, found once per form: where the variables of its mapping go,
// with their fields' indexes, in the mapping's order (a field's own variable, then the one it is
// also read from); and its date edits and radio buttons in creation order, as a load sets them.
struct VariablePlace {
  std::string_view variable;
  const CslField* field;
  std::size_t index;  // of the field in the form
  bool alsoFrom;      // taken only when the item lacks field->variable
};
struct LoadStep {
  bool date;          // a date edit; else a radio button
  std::size_t index;  // of the field, or of the radio button
};
struct FormPlaces {
  std::vector<VariablePlace> variables;
  std::vector<LoadStep> loadOrder;
};

const FormPlaces& PlacesOf(const CslFormMapping& mapping) {
  static const std::vector<FormPlaces> places = [] {
    std::vector<FormPlaces> all;
    for (const CslFormMapping& m : CslFormMappings()) {
      const SourceValues values(m.form(), 0);
      FormPlaces& form = all.emplace_back();
      for (const CslField& f : m.fields) {
        const std::size_t index = *values.FieldIndex(f.field);
        form.variables.push_back({f.variable, &f, index, false});
        if (!f.alsoFrom.empty()) form.variables.push_back({f.alsoFrom, &f, index, true});
      }
      for (std::string_view name : m.form().creationOrder) {
        if (const auto i = values.FieldIndex(name); i && m.form().fields[*i].kind == FieldKind::DateEdit) {
          form.loadOrder.push_back({true, *i});
        } else if (const auto r = values.RadioIndex(name)) {
          form.loadOrder.push_back({false, *r});
        }
      }
    }
    return all;
  }();
  return places[static_cast<std::size_t>(&mapping - CslFormMappings().data())];
}

CslImportedItem& ItemReader::Read(ItemPool& pool) {
  const auto givenId = item_.Find("id");
  if (const auto custom = item_.Find("custom")) ReadCustom(*custom);
  std::string_view type;
  const auto typeValue = item_.Find("type");
  const bool hasType = typeValue && typeValue->IsString();
  if (hasType) type = typeValue->Text();
  else if (typeValue) Warn("\"type\" is not a text");
  const FormDescription& form = ChooseForm(type, hasType);
  CslImportedItem& item = pool.For(form, now_);
  item.index = index_;
  item.id.clear();
  if (givenId && givenId->IsString()) item.id.assign(givenId->Text());
  else if (givenId && givenId->IsNumber()) item.id = givenId->NumberText();
  SourceValues& values = item.values;
  values.Reset(form, now_);
  const FormPlaces& places = PlacesOf(CslMappingOf(form));

  item_.ForEach([&](std::string_view key, JsonValue value) {
    if (SameKey(key, "id") || SameKey(key, "type") || SameKey(key, "custom")) return;
    for (const VariablePlace& p : places.variables) {
      if (!SameKey(p.variable, key) || (p.alsoFrom && item_.Find(p.field->variable))) continue;
      Place(*p.field, p.index, value, values);
      return;
    }
    if ((key == "author" && form.hasAuthors) || (key == "editor" && form.hasEditors)) {
      ContributorList names = Names(key, value);
      if (key == "author") values.SetAuthors(std::move(names));
      else values.SetEditors(std::move(names));
      return;
    }
    if (!IsCslVariable(key)) {
      Warn(Q(key) + " is not a CSL variable; ignored");
    } else if (!IsCslNameVariable(key) && !IsCslDateVariable(key) && (value.IsString() || value.IsNumber())) {
      values.SetCslVariable(std::string(key), *TextOf(key, value));
      const auto read = CslVariablesTheRulesRead();
      if (std::find(read.begin(), read.end(), key) == read.end()) {
        Warn(Q(key) + " has no place in the " + std::string(form.className) + " form");
      }
    } else {
      Warn(Q(key) + " has no place in the " + std::string(form.className) + " form; ignored");
    }
  });

  // As a form loads: every date edit takes its date (or now), in creation order, and then the
  // date detail is chosen, its radio button acting as a click.
  std::optional<std::size_t> radio = detailRadio_;
  if (const auto format = Citara(kDateFormat)) {
    const std::optional<std::size_t> named = format->IsString() ? [&]() -> std::optional<std::size_t> {
      for (std::size_t r = 0; r < form.radios.size(); ++r) {
        if (form.radios[r].caption == format->Text()) return r;
      }
      return std::nullopt;
    }() : std::nullopt;
    if (named) radio = named;
    else Warn("custom.citara.date-format is none of the " + std::string(form.className) + " form's choices; ignored");
  }
  for (const LoadStep& step : places.loadOrder) {
    if (step.date) {
      const auto given = std::find_if(dates_.begin(), dates_.end(), [&](const auto& d) { return d.first == step.index; });
      values.SetDate(step.index, given != dates_.end() ? given->second : now_);
    } else if (radio == step.index) {
      values.SelectRadio(step.index);
    }
  }
  item.warnings = std::move(warnings_);
  return item;
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

// Reads `text` as JSON, handing on each value as ReadJsonValues does, and throws CslJsonError at
// the first place where the text is not JSON.
void ReadJson(const std::string& text, JsonTree& tree, const std::function<void(JsonValue, std::size_t)>& onValue) {
  std::optional<JsonSyntaxError> error;
  ReadJsonValues(text, tree, onValue, error);
  if (!error) return;
  // A number too large for a double; a message quoting it would repeat all of its digits.
  if (error->numberTooLarge) throw CslJsonError("the CSL-JSON is not valid JSON: it holds a number too large to read");
  // The reader's message as a clause: "Missing a name for object member." -> "missing a name ...".
  std::string why = error->message;
  if (why.ends_with('.')) why.pop_back();
  if (!why.empty() && why[0] >= 'A' && why[0] <= 'Z') why[0] = static_cast<char>(why[0] - 'A' + 'a');
  throw CslJsonError("the CSL-JSON is not valid JSON at " + Position(text, error->offset) + ": " + why);
}

}  // namespace

std::string CslItemJson(const SourceValues& values, std::string_view id) { return ItemJson(values, id); }

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

void ReadCslJson(const std::string& text, OleDate now, const std::function<void(CslImportedItem&)>& onItem,
                 const std::function<void(std::size_t, const std::string&)>& onBadItem) {
  JsonTree tree;
  ItemPool pool;
  // Each element of a top-level array is read, handed on and dropped as soon as it ends.
  ReadJson(text, tree, [&](JsonValue value, std::size_t position) {
    if (!value.IsObject()) {
      if (position == 0) throw CslJsonError("the CSL-JSON holds neither an item nor an array of items");
      onBadItem(position, "item " + std::to_string(position) + " is not an object; ignored");
      return;
    }
    onItem(ItemReader(value, position ? position : 1, now).Read(pool));
  });
}

CslImportedItem ReadCslItem(std::string_view itemText, OleDate now) {
  const std::string itemJson(itemText);
  JsonTree tree;
  std::optional<CslImportedItem> item;
  ItemPool pool;
  ReadJson(itemJson, tree, [&](JsonValue value, std::size_t position) {
    if (position == 0 && value.IsObject()) item = std::move(ItemReader(value, 1, now).Read(pool));
  });
  if (!item) throw CslJsonError("the CSL-JSON item is not an object");
  return std::move(*item);
}

}  // namespace citara
