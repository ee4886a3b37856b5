// The contributor list (authors or editors of one source) and the rules that turn it into the name
// part of an MLA or APA entry, and that copy it to and from the saved-data name-value list.
//
// Name texts produced here are either empty or end with a space, so that the forms join them to the
// next part directly. Values are kept exactly as typed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/formatting.h"
#include "core/ini_list.h"

namespace citara {

struct Contributor {
  std::string last, first, middleInitial;
  bool IsBlank() const { return last.empty() && first.empty() && middleInitial.empty(); }
  friend bool operator==(const Contributor&, const Contributor&) = default;
};

// The entries of one role, in the order they were added (the order of the names in every entry).
using ContributorList = std::vector<Contributor>;

// One name, last name first. MLA "Smith, John Q.", APA "Smith, J. Q.", last name alone "Smith" /
// "Smith.". The APA initial is the first character of the first name as typed, then ".".
std::string FormatInvertedName(std::string_view last, std::string_view first, std::string_view middle,
                               CitationStyle style);

// One name, first name first: "Jane R. Doe".
std::string FormatDirectName(std::string_view last, std::string_view first, std::string_view middle);

// One formatted name per entry: the first inverted; the others inverted in APA, direct in MLA.
std::vector<std::string> FormatNameList(const ContributorList& list, CitationStyle style);

// Deletes the entries whose three parts are all empty.
void RemoveEmptyEntries(ContributorList& list);

// The authors' name text (blank entries skipped): MLA "Smith, John Q., Jane Doe, and Richard Roe. ",
// APA "Smith, J. Q., Doe, J., & Roe, R. "; empty for no names.
std::string FormatPrimaryNames(const ContributorList& list, CitationStyle style);

// The editors' name text (blank entries skipped). APA "Brown, A. (Ed.). "; MLA after authors
// "Ed. Ann Brown. ", MLA without authors "Brown, Ann, ed. ".
std::string FormatSecondaryNames(const ContributorList& list, bool afterPrimary, CitationStyle style);

// Writes "*" + prefix + i + "Last" / "First" / "MI" for every entry, blank ones too.
void SaveContributors(const ContributorList& list, std::string_view prefix, TIniList& ini);

// The entries stored under `prefix`, read from index 0 until the first index without a "Last" key.
ContributorList LoadContributors(std::string_view prefix, const TIniList& ini);

// One saved-data line of a contributor: "*Author2First=Jane" under the prefix "Author" is index 2,
// part First, value "Jane". The prefix and part compare without the case of ASCII letters; the
// index is written as SaveContributors writes it (no leading zeros) and lies below `limit`.
enum class ContributorPart { Last, First, MI };
struct ContributorKey {
  std::size_t index;
  ContributorPart part;
  std::string_view value;
};
std::optional<ContributorKey> ParseContributorKey(std::string_view line, std::string_view prefix, std::size_t limit);

}  // namespace citara
