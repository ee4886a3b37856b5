// Test support for the source forms: fill a real form from a small table row, as a user would,
// and read its entries.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/form_description.h"
#include "core/source_form.h"

namespace citara::testing {

// What a user enters into a form. Fields not named keep their default text; dates not named hold
// 1 January 2000; `radio` names the radio button to select (empty: the one selected at creation).
struct FormInput {
  std::vector<std::pair<std::string, std::string>> texts{};  // field name -> typed text
  ContributorList authors{};
  ContributorList editors{};
  std::vector<std::pair<std::string, CivilDate>> dates{};     // date edit name -> its day
  std::string radio{};
};

// Types the row into `form`: field texts (of the fields the form has), dates, the radio choice, and each contributor into its
// sub-form's three fields followed by a click on Add.
void Fill(TSourceForm& form, const FormInput& input);

// The entry of a fresh control of `form` filled with `input`, as plain text with the italic run
// between asterisks.
std::string MarkedEntry(const FormDescription& form, const FormInput& input, CitationStyle style);

}  // namespace citara::testing
