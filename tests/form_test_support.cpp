#include "form_test_support.h"

namespace citara::testing {
namespace {

// Form values straight from a table row (the rules alone, without the form's controls).
class InputValues final : public FormValues {
 public:
  InputValues(const FormDescription& form, const FormInput& input) : form_(form), input_(input) {
    RemoveEmptyEntries(input_.authors);
    RemoveEmptyEntries(input_.editors);
  }
  std::string_view Text(std::string_view field) const override {
    for (const auto& [name, text] : input_.texts) {
      if (name == field) return text;
    }
    for (const FieldDescription& f : form_.fields) {
      if (f.name == field) return f.defaultText;
    }
    return {};
  }
  OleDate Date(std::string_view dateEdit) const override {
    for (const auto& [name, day] : input_.dates) {
      if (name == dateEdit) return OleFromCivil(day);
    }
    return OleFromCivil({2000, 1, 1});
  }
  bool Checked(std::string_view radio) const override {
    for (const RadioDescription& r : form_.radios) {
      if (r.name == radio) return input_.radio.empty() ? r.checked : input_.radio == radio;
    }
    return false;
  }
  const ContributorList& Authors() const override { return input_.authors; }
  const ContributorList& Editors() const override { return input_.editors; }

 private:
  const FormDescription& form_;
  FormInput input_;
};

}  // namespace

std::string MarkedEntry(const FormDescription& form, const FormInput& input, CitationStyle style) {
  const InputValues values(form, input);
  return CitationToMarked(IsApa(style) ? form.apa(values) : form.mla(values));
}

}  // namespace citara::testing
