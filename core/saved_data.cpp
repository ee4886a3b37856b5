#include "core/saved_data.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <tuple>

#include "core/contributors.h"
#include "core/quoted.h"
#include "core/source_form.h"
#include "core/source_values.h"
#include "widgets/platform.h"

namespace citara {
namespace {

constexpr std::string_view kDateFormatKey = "*DateFormat";
constexpr std::string_view kMlaEntryKey = "*MLACitaragraphy";
constexpr std::string_view kApaEntryKey = "*APACitaragraphy";
constexpr std::string_view kEnd = "END";

// The keys a form writes for the host and never reads back.
constexpr std::string_view kDerivedKeys[] = {"Author(s):", "Editor(s):", "*PublicationDate", "*Title",
                                             "*PrimaryNames", kMlaEntryKey, kApaEntryKey};
// Derived keys numbered from 1: "*PrimaryName1", "*APAPrimaryName2", ...
constexpr std::string_view kNumberedDerivedKeys[] = {"*PrimaryName", "*APAPrimaryName"};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool IsDerivedKey(std::string_view key) {
  for (std::string_view derived : kDerivedKeys) {
    if (EqualsIgnoringCase(key, derived)) return true;
  }
  for (std::string_view numbered : kNumberedDerivedKeys) {
    if (key.size() <= numbered.size() || !EqualsIgnoringCase(key.substr(0, numbered.size()), numbered)) continue;
    const std::string_view digits = key.substr(numbered.size());
    if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return true;
  }
  return false;
}

// The key under which a date edit's date is saved.
std::string_view DateKey(const FormDescription& form, std::string_view dateEdit) {
  const bool retrieval = form.deliverable == Deliverable::CitaraWeb && dateEdit == kDateRetrievedEdit;
  return retrieval ? "*DateRetrieved" : "*Date";
}

// The year a year field holds when its text is a whole number from 1 to 9999.
std::optional<int> YearIn(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int year = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    year = year * 10 + (c - '0');
  }
  if (year < 1) return std::nullopt;
  return year;
}

// True when a spin edit takes `text` as its number.
bool IsWholeNumber(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc{} && end == text.data() + text.size();
}

// Calls visit(line, number) for every line of `text` as TIniList::SetText splits it: a line ends
// at CR LF, a lone CR or a lone LF, a final line break makes no extra line, and the text ends at
// its first NUL.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t start = 0, number = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    visit(text.substr(start, end - start), ++number);
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

// The first line of one key: its value and where it stands.
struct FoundValue {
  std::string_view value;
  std::size_t line = 0;  // 0: not found
};

// One contributor line, kept small (16 bytes): the loaded lists are built after the pass.
struct ContributorLine {
  std::uint32_t index;
  std::uint32_t line;
  std::uint32_t offset;      // of the value in the text
  std::uint32_t size : 30;   // of the value
  std::uint32_t part : 2;    // ContributorPart
  ContributorPart Part() const { return static_cast<ContributorPart>(part); }
};
static_assert(sizeof(ContributorLine) == 16);

std::string PartKey(std::string_view prefix, std::size_t index, ContributorPart part) {
  static constexpr std::string_view kNames[] = {"Last", "First", "MI"};
  std::string key = "*";
  key.append(prefix).append(std::to_string(index)).append(kNames[static_cast<int>(part)]);
  return key;
}

// The entries of one role from its lines: from index 0 until the first index without a "Last"
// line, the first line of each key counting. Every other line is named in a warning.
ContributorList BuildContributors(std::vector<ContributorLine>& lines, std::string_view text, std::string_view prefix,
                                  std::string_view role, LoadWarnings* warnings) {
  // In place (the lines are told apart by their line numbers): no second buffer.
  std::sort(lines.begin(), lines.end(), [](const ContributorLine& a, const ContributorLine& b) {
    if (a.index != b.index) return a.index < b.index;
    if (a.part != b.part) return a.part < b.part;
    return a.line < b.line;
  });
  std::size_t count = 0;  // entries 0 .. count-1 have their "Last" line
  for (const ContributorLine& l : lines) {
    if (l.index > count) break;
    if (l.index == count && l.Part() == ContributorPart::Last) ++count;
  }
  ContributorList list;
  std::size_t firstOfKey = 0;  // the line that counts for the current key
  Contributor entry;
  std::size_t entryIndex = 0;
  const auto flush = [&] {
    // Blank entries are dropped as every form drops them; only filled ones take memory.
    if (!entry.IsBlank()) list.push_back(std::move(entry));
    entry = {};
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ContributorLine& l = lines[i];
    const bool repeated = i > 0 && lines[i - 1].index == l.index && lines[i - 1].part == l.part;
    if (!repeated) firstOfKey = i;
    if (repeated) {
      if (warnings) {
        warnings->Add(l.line, Quoted(PartKey(prefix, l.index, l.Part())) + " is given again; the first one (line " +
                                  std::to_string(lines[firstOfKey].line) + ") counts");
      }
      continue;
    }
    if (l.index < count) {
      if (l.index != entryIndex) {
        flush();
        entryIndex = l.index;
      }
      const std::string_view value = text.substr(l.offset, l.size);
      (l.Part() == ContributorPart::Last ? entry.last : l.Part() == ContributorPart::First ? entry.first : entry.middleInitial) = value;
    } else if (warnings) {
      const std::string why = l.index == count ? "there is no " + Quoted(PartKey(prefix, l.index, ContributorPart::Last))
                                               : "the " + std::string(role) + " end at entry " + std::to_string(count) +
                                                     " (there is no " + Quoted(PartKey(prefix, count, ContributorPart::Last)) + ")";
      warnings->Add(l.line, Quoted(PartKey(prefix, l.index, l.Part())) + " is not loaded: " + why);
    }
  }
  if (count > 0) flush();
  return list;
}

std::string Choices(const FormDescription& form) {
  std::string out;
  for (const RadioDescription& r : form.radios) {
    if (!out.empty()) out += ", ";
    out += Quoted(r.caption);
  }
  return out;
}

// Text less its final ".  " or ". ", or nothing when it ends in neither.
std::optional<std::string_view> WithoutFinalPeriod(std::string_view names) {
  if (names.ends_with(".  ")) return names.substr(0, names.size() - 3);
  if (names.ends_with(". ")) return names.substr(0, names.size() - 2);
  return std::nullopt;
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=").append(value).append("\r\n");
}

// "*PrimaryName<n>" and "*APAPrimaryName<n>" for each entry of the primary list, less one final ".".
void AppendPrimaryNames(std::string& out, const ContributorList& primary) {
  for (const auto& [key, style] : {std::pair{"*PrimaryName", CitationStyle::MLA}, {"*APAPrimaryName", CitationStyle::APA}}) {
    for (std::size_t n = 0; n < primary.size(); ++n) {
      const Contributor& c = primary[n];
      std::string name = FormatInvertedName(c.last, c.first, c.middleInitial, style);
      if (!name.empty() && name.back() == '.') name.pop_back();
      AppendLine(out, key + std::to_string(n + 1), name);
    }
  }
}

void AppendContributors(std::string& out, const ContributorList& list, std::string_view prefix) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    AppendLine(out, PartKey(prefix, i, ContributorPart::Last), list[i].last);
    AppendLine(out, PartKey(prefix, i, ContributorPart::First), list[i].first);
    AppendLine(out, PartKey(prefix, i, ContributorPart::MI), list[i].middleInitial);
  }
}

}  // namespace

SavedDataError::SavedDataError(std::string key, std::string value, std::string_view why)
    : std::runtime_error("cannot load the saved data: the value " + Quoted(value) + " of " + Quoted(key) + " " +
                         std::string(why)),
      key_(std::move(key)),
      value_(std::move(value)) {}

void LoadWarnings::Add(std::size_t line, std::string message) {
  if (shown.size() < kMaxShown) shown.push_back({line, std::move(message)});
  else ++more;
}

void ReadSavedData(std::string_view text, SourceValues& values, OleDate now, LoadWarnings* warnings) {
  const FormDescription& form = values.Form();
  if (text.size() >= (std::size_t{1} << 30)) {
    throw SavedDataError("", std::string(text.substr(0, 60)), "starts a text of 1 GiB or more, more than saved data holds");
  }
  std::vector<FoundValue> fields(form.fields.size());
  // The date keys of the form's date edits ("*Date", "*DateRetrieved") with their first lines.
  std::vector<std::pair<std::string_view, FoundValue>> dateKeys;
  for (const FieldDescription& f : form.fields) {
    if (f.kind != FieldKind::DateEdit) continue;
    const std::string_view key = DateKey(form, f.name);
    if (std::none_of(dateKeys.begin(), dateKeys.end(), [&](const auto& k) { return k.first == key; })) {
      dateKeys.emplace_back(key, FoundValue{});
    }
  }
  FoundValue dateFormat;
  std::vector<ContributorLine> authorLines, editorLines;
  const auto warn = [&](std::size_t line, std::string message) {
    if (warnings) warnings->Add(line, std::move(message));
  };
  const auto keep = [&](FoundValue& found, std::string_view key, std::string_view value, std::size_t line) {
    if (found.line == 0) {
      found = {value, line};
    } else {
      warn(line, Quoted(key) + " is given again; the first one (line " + std::to_string(found.line) + ") counts");
    }
  };

  // A contributor entry that loads needs a "Last" line of at least 13 bytes for it and each one
  // before it, so no index from this limit on can load (and none overflows while it is read).
  const std::size_t indexLimit = text.size() / 13 + 1;
  // The contributor lines are counted first, so that their table is allocated once at its size.
  std::size_t authorCount = 0, editorCount = 0;
  ForEachLine(text, [&](std::string_view line, std::size_t) {
    if (line.size() < 2 || line[0] != '*') return;
    if (form.hasAuthors && ParseContributorKey(line, "Author", indexLimit)) ++authorCount;
    else if (form.hasEditors && ParseContributorKey(line, "Editor", indexLimit)) ++editorCount;
  });
  authorLines.reserve(authorCount);
  editorLines.reserve(editorCount);
  std::string_view entryBlock;  // the entry key whose RTF lines are being passed over
  ForEachLine(text, [&](std::string_view line, std::size_t number) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      if (!entryBlock.empty() && line.size() == entryBlock.size() + kEnd.size() &&
          EqualsIgnoringCase(line.substr(0, entryBlock.size()), entryBlock) &&
          EqualsIgnoringCase(line.substr(entryBlock.size()), kEnd)) {
        entryBlock = {};
      } else if (entryBlock.empty() && !line.empty()) {
        warn(number, Quoted(line) + " is not a name=value line; ignored");
      }
      return;
    }
    const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
    bool known = false;
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
      if (EqualsIgnoringCase(key, form.fields[i].caption)) {
        keep(fields[i], key, value, number);
        known = true;
        break;
      }
    }
    if (!known && !line.empty() && line[0] == '*') {
      for (auto& [dateKey, found] : dateKeys) {
        if (EqualsIgnoringCase(key, dateKey)) {
          keep(found, key, value, number);
          known = true;
        }
      }
      if (!known && !form.radios.empty() && EqualsIgnoringCase(key, kDateFormatKey)) {
        keep(dateFormat, key, value, number);
        known = true;
      }
      for (const auto& [prefix, has, lines] : {std::tuple{"Author", form.hasAuthors, &authorLines},
                                               std::tuple{"Editor", form.hasEditors, &editorLines}}) {
        if (known || !has) continue;
        if (const auto k = ParseContributorKey(line, prefix, indexLimit)) {
          lines->push_back({static_cast<std::uint32_t>(k->index), static_cast<std::uint32_t>(number),
                            static_cast<std::uint32_t>(k->value.data() - text.data()),
                            static_cast<std::uint32_t>(k->value.size()), static_cast<std::uint32_t>(k->part)});
          known = true;
        }
      }
    }
    if (!known && IsDerivedKey(key)) {
      known = true;
      if (EqualsIgnoringCase(key, kMlaEntryKey) || EqualsIgnoringCase(key, kApaEntryKey)) entryBlock = key;
    }
    if (!known && entryBlock.empty()) {
      warn(number, Quoted(key) + " is not a key of the " + std::string(form.className) + " form; ignored");
    }
  });

  // Every date is checked before anything changes, in the order the form's controls were created.
  std::vector<std::pair<std::size_t, OleDate>> dates;
  for (std::string_view name : form.creationOrder) {
    const auto i = values.FieldIndex(name);
    if (!i || form.fields[*i].kind != FieldKind::DateEdit) continue;
    const std::string_view key = DateKey(form, name);
    const FoundValue& found = std::find_if(dateKeys.begin(), dateKeys.end(), [&](const auto& k) { return k.first == key; })->second;
    OleDate date = now;
    if (found.line != 0) {
      const std::optional<double> number = ParseOleNumber(found.value);
      if (!number) throw SavedDataError(std::string(key), std::string(found.value), "is not a number");
      if (!IsSupportedDate(*number)) {
        throw SavedDataError(std::string(key), std::string(found.value), "is not a date from 1 January 100 to 31 December 9999");
      }
      date = *number;
    }
    dates.emplace_back(*i, date);
  }
  ContributorList authors = BuildContributors(authorLines, text, "Author", "authors", warnings);
  ContributorList editors = BuildContributors(editorLines, text, "Editor", "editors", warnings);

  // The labelled fields, then the windowed controls in creation order, as the form loads them.
  for (std::size_t i = 0; i < form.fields.size(); ++i) {
    const FoundValue& found = fields[i];
    if (found.value.empty()) continue;
    values.SetText(i, std::string(found.value));
    if (form.fields[i].kind == FieldKind::SpinEdit && !IsWholeNumber(found.value)) {
      warn(found.line, Quoted(form.fields[i].caption) + " holds " + Quoted(found.value) + ", not a number; taken as typed");
    }
  }
  auto nextDate = dates.begin();
  for (std::string_view name : form.creationOrder) {
    if (nextDate != dates.end() && form.fields[nextDate->first].name == name) {
      values.SetDate(nextDate->first, nextDate->second);
      ++nextDate;
    } else if (const auto radio = values.RadioIndex(name); radio && dateFormat.value == form.radios[*radio].caption) {
      values.SelectRadio(*radio);
    }
  }
  if (dateFormat.line != 0 && !std::any_of(form.radios.begin(), form.radios.end(),
                                           [&](const RadioDescription& r) { return r.caption == dateFormat.value; })) {
    const auto selected = values.SelectedRadio();
    warn(dateFormat.line, Quoted(kDateFormatKey) + " holds " + Quoted(dateFormat.value) + ", none of the " +
                              std::string(form.className) + " form's choices (" + Choices(form) + "); " +
                              (selected ? Quoted(form.radios[*selected].caption) + " stays selected" : "none is selected"));
  }
  if (form.hasAuthors) values.SetAuthors(std::move(authors));
  if (form.hasEditors) values.SetEditors(std::move(editors));
}

std::string SavedDataText(const FormDescription& form, const FormValues& values, std::string_view mlaRtf,
                          std::string_view apaRtf, TIniList& list) {
  // The lines up to the entries, where a key written again replaces its line (a date edit and a
  // year field both write "*PublicationDate"); the numbered lines after them are new keys.
  TIniList& head = list;
  head.Clear();
  const bool printed = form.deliverable == Deliverable::Citara;
  const std::string authorText = form.hasAuthors ? FormatPrimaryNames(values.Authors(), CitationStyle::MLA) : "";
  if (!authorText.empty()) SetListValue(head, "Author(s):", authorText);
  const std::string editorText = form.hasEditors ? FormatPrimaryNames(values.Editors(), CitationStyle::MLA) : "";
  if (!editorText.empty()) SetListValue(head, "Editor(s):", editorText);

  for (const FieldDescription& f : form.fields) {
    if (f.kind == FieldKind::DateEdit) {
      // A date edit's line holds its date as a load of this text shows it, whatever the field
      // shows now: nothing yet (a fresh form) or its text for typing (while it has the focus).
      const std::string shown = FormatDate(values.Date(f.name), values.DateFormat(f.name));
      if (!shown.empty()) SetListValue(head, f.caption, shown);
      continue;
    }
    const std::string_view text = values.Text(f.name);
    if (!text.empty()) SetListValue(head, f.caption, text);
  }
  for (std::string_view name : form.creationOrder) {
    const auto field = std::find_if(form.fields.begin(), form.fields.end(), [&](const FieldDescription& f) { return f.name == name; });
    if (field != form.fields.end() && field->kind == FieldKind::DateEdit) {
      const std::string day = FormatOleNumber(values.Date(name));
      SetListValue(head, DateKey(form, name), day);
      if (printed) SetListValue(head, "*PublicationDate", day);
    } else if (field != form.fields.end()) {
      // A year field gives the publication date: 1 January of its year, when it holds one. Years
      // before 100 lie outside what a date edit shows, but still have their own day number.
      if (printed && name == kYearEdit && field->kind == FieldKind::SpinEdit) {
        if (const auto year = YearIn(values.Text(name))) {
          SetListValue(head, "*PublicationDate", FormatOleNumber(OleFromCivil({*year, 1, 1})));
        }
      }
    } else {
      for (const RadioDescription& r : form.radios) {
        if (r.name == name && values.Checked(name)) SetListValue(head, kDateFormatKey, r.caption);
      }
    }
  }
  const std::string title = form.savedTitle ? form.savedTitle(values)
                            : form.titleField.empty() ? std::string()
                                                      : std::string(values.Text(form.titleField));
  SetListValue(head, "*Title", CapitalizeTitle(title, CitationStyle::MLA));
  const std::string& primaryText = !authorText.empty() ? authorText : editorText;
  if (const auto names = WithoutFinalPeriod(primaryText)) SetListValue(head, "*PrimaryNames", *names);

  std::string out = head.Text();
  const ContributorList* primary = !values.Authors().empty() ? &values.Authors()
                                   : !values.Editors().empty() ? &values.Editors()
                                                               : nullptr;
  if (primary) AppendPrimaryNames(out, *primary);
  AppendLine(out, kMlaEntryKey, mlaRtf);
  out.append(kMlaEntryKey).append(kEnd).append("\r\n");
  AppendLine(out, kApaEntryKey, apaRtf);
  out.append(kApaEntryKey).append(kEnd).append("\r\n");
  if (form.hasAuthors) AppendContributors(out, values.Authors(), "Author");
  if (form.hasEditors) AppendContributors(out, values.Editors(), "Editor");
  return out;
}

std::string SavedDataText(const SourceValues& values) {
  TIniList head;
  const FormDescription& form = values.Form();
  return SavedDataText(form, values, CitationToRtf(form.mla(values)), CitationToRtf(form.apa(values)), head);
}

std::string BuildSavedData(TSourceForm& form) {
  if (form.AuthorForm()) form.AuthorForm()->RemoveEmptyEntries();
  if (form.EditorForm()) form.EditorForm()->RemoveEmptyEntries();
  const std::string& mla = form.GetMLACitaraInfo();
  const std::string& apa = form.GetAPACitaraInfo();
  std::string text = SavedDataText(form.Description(), form.Values(), mla, apa, form.WorkingList());
  form.WorkingList().SetText(text);
  return text;
}

void LoadSavedData(TSourceForm& form, std::string_view text, LoadWarnings* warnings) {
  SourceValues values = ReadValues(form);
  ReadSavedData(text, values, CurrentPlatform().Now(), warnings);
  ApplyValues(form, values);
  form.WorkingList().SetText(text);
}

}  // namespace citara
