// Test support for the source forms: fill a form from a small table row and read its entries.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/form_description.h"

namespace citara::testing {

// What a user enters into a form. Fields not named keep their default text; dates not named hold
// 1 January 2000; `radio` names the radio button to select (empty: the one selected at creation).
struct FormInput {
  std::vector<std::pair<std::string, std::string>> texts;  // field name -> typed text
  ContributorList authors;
  ContributorList editors;
  std::vector<std::pair<std::string, CivilDate>> dates;     // date edit name -> its day
  std::string radio;
};

// The entry of `form` filled with `input`, as plain text with the italic run between asterisks.
std::string MarkedEntry(const FormDescription& form, const FormInput& input, CitationStyle style);

}  // namespace citara::testing
