#include "form_test_support.h"

#include <gtest/gtest.h>

#include "widgets/date_edit.h"
#include "widgets/flat_edit.h"
#include "widgets/platform.h"
#include "widgets/radio_button.h"
#include "widgets/tool_button.h"

namespace citara::testing {
namespace {

void TypeContributors(TAuthorForm* sub, const ContributorList& people) {
  if (people.empty()) return;
  if (sub == nullptr) {
    ADD_FAILURE() << "the row names contributors of a role that this form does not have";
    return;
  }
  for (const Contributor& person : people) {
    for (const auto& [field, text] : {std::pair{&sub->LastNameEdit(), &person.last},
                                      {&sub->FirstNameEdit(), &person.first},
                                      {&sub->MIEdit(), &person.middleInitial}}) {
      field->TypeText(*text);
    }
    sub->AddButton().Click();
  }
}

}  // namespace

void Fill(TSourceForm& form, const FormInput& input) {
  for (const auto& [name, text] : input.texts) {
    // A row shared by several forms may name a field that this form does not have.
    if (auto* field = form.FindComponent<TFlatEdit>(name)) field->SetText(text);
  }
  for (const FieldDescription& f : form.Description().fields) {
    if (f.kind == FieldKind::DateEdit) form.DateField(f.name).SetDate(OleFromCivil({2000, 1, 1}));
  }
  for (const auto& [name, day] : input.dates) form.DateField(name).SetDate(OleFromCivil(day));
  if (!input.radio.empty()) form.Radio(input.radio).Click();
  TypeContributors(form.AuthorForm(), input.authors);
  TypeContributors(form.EditorForm(), input.editors);
}

std::string MarkedEntry(const FormDescription& description, const FormInput& input, CitationStyle style) {
  HeadlessPlatform port;
  ScopedPlatform use(port);
  TSourceForm form(description);
  Fill(form, input);
  return CitationToMarked(form.CitationIn(style));
}

}  // namespace citara::testing
