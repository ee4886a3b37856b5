// The four web-source forms of CitaraWeb, each described as data with its MLA and APA entry rules:
// a web article, a personal site (home page), a professional site (cited under its publisher, no
// contributor list) and a newsgroup or discussion-list posting.
#pragma once

#include <span>

#include "core/form_description.h"

namespace citara {

const FormDescription& WebArticleForm();
const FormDescription& PersonalSiteForm();
const FormDescription& ProfessionalSiteForm();
const FormDescription& NewsgroupForm();

// The four in the order WebArticle, PersonalSite, ProfessionalSite, Newsgroup.
std::span<const FormDescription* const> WebForms();

}  // namespace citara
