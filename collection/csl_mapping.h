// How the ten forms meet CSL-JSON, the item format of the Citation Style Language: each form's
// CSL type and, field by field, the CSL variable that holds the field. Written once, as data; the
// export and the import (collection/csl_json.h) and the README's table follow it.
//
// A field's kind says how its variable is written: a flat edit as a string variable, a year spin
// edit as the year of a date variable ({"date-parts": [[1998]]}), another spin edit as a string,
// a date edit as a date variable in the detail its form's radio button chooses. People go to
// "author" and "editor" where the form has those lists.
#pragma once

#include <span>
#include <string_view>

#include "core/form_description.h"

namespace citara {

struct CslField {
  std::string_view field;     // "TitleEdit"
  std::string_view variable;  // "title"
  // A variable read into the field on import when `variable` is absent ("section" for the
  // newspaper's section and page field); never written.
  std::string_view alsoFrom{};
};

struct CslFormMapping {
  const FormDescription& (*form)();
  std::string_view type;  // "book"
  std::span<const CslField> fields;
};

// The ten forms in the order of AllForms().
std::span<const CslFormMapping> CslFormMappings();
const CslFormMapping& CslMappingOf(const FormDescription& form);

// Where an item of a CSL type goes when its Citara data does not name a form: its own form, or
// the nearest one. Types not listed (and items without a type) go to Other.
struct CslTypeForm {
  std::string_view type;
  std::string_view form;  // class name
};
std::span<const CslTypeForm> CslTypeForms();
const FormDescription& FormForCslType(std::string_view type);

// The CSL variables by kind, as the CSL-JSON schema defines them: names (lists of people) and
// dates; every other variable of the schema is text or a number, except "categories" (a list of
// texts) and "custom" (an object).
bool IsCslNameVariable(std::string_view variable);
bool IsCslDateVariable(std::string_view variable);
bool IsCslVariable(std::string_view variable);

}  // namespace citara
