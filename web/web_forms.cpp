#include "web/web_forms.h"

namespace citara {

std::span<const FormDescription* const> WebForms() {
  static const FormDescription* const forms[] = {&WebArticleForm(), &PersonalSiteForm(),
                                                 &ProfessionalSiteForm(), &NewsgroupForm()};
  return forms;
}

}  // namespace citara
