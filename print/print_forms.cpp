#include "print/print_forms.h"

namespace citara {

std::span<const FormDescription* const> PrintForms() {
  static const FormDescription* const forms[] = {&BookForm(),     &EncyclopediaForm(), &JournalForm(),
                                                 &MagazineForm(), &NewspaperForm(),    &OtherForm()};
  return forms;
}

}  // namespace citara
