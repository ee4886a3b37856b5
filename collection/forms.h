// All ten source forms by name: the six printed-source forms of Citara and the four web-source
// forms of CitaraWeb, for the tools that take a source of any kind (the command line, CSL-JSON,
// lists of works cited).
//
//   const FormDescription* book = FindForm("book");   // names compare without ASCII case
//   for (const FormDescription* form : AllForms()) ...
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/form_description.h"

namespace citara {

// Book, Encyclopedia, Journal, Magazine, Newspaper, Other, WebArticle, PersonalSite,
// ProfessionalSite, Newsgroup.
std::span<const FormDescription* const> AllForms();

// The form whose class name is `name` (ASCII letters compared without case); nullptr when none.
const FormDescription* FindForm(std::string_view name);

// "Book, Encyclopedia, ..., Newsgroup": the class names for messages and help texts.
std::string FormNames();

// ASCII-case-insensitive equality, as form, style and format names are compared.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace citara
