#include "collection/forms.h"

#include "print/print_forms.h"
#include "web/web_forms.h"

namespace citara {

std::span<const FormDescription* const> AllForms() {
  static const FormDescription* const forms[] = {
      &BookForm(),       &EncyclopediaForm(), &JournalForm(),          &MagazineForm(),  &NewspaperForm(),
      &OtherForm(),      &WebArticleForm(),   &PersonalSiteForm(),     &ProfessionalSiteForm(), &NewsgroupForm(),
  };
  return forms;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

const FormDescription* FindForm(std::string_view name) {
  for (const FormDescription* form : AllForms()) {
    if (EqualsIgnoringAsciiCase(form->className, name)) return form;
  }
  return nullptr;
}

std::string FormNames() {
  std::string names;
  for (const FormDescription* form : AllForms()) {
    if (!names.empty()) names += ", ";
    names += form->className;
  }
  return names;
}

}  // namespace citara
