// The six printed-source forms of Citara, each described as data with its MLA and APA entry rules:
// a book, an encyclopedia article, a journal article, a magazine article, a newspaper article and
// any other printed source (pamphlet, report, part of a series).
#pragma once

#include <span>

#include "core/form_description.h"

namespace citara {

const FormDescription& BookForm();
const FormDescription& EncyclopediaForm();
const FormDescription& JournalForm();
const FormDescription& MagazineForm();
const FormDescription& NewspaperForm();
const FormDescription& OtherForm();

// The six in the order Book, Encyclopedia, Journal, Magazine, Newspaper, Other.
std::span<const FormDescription* const> PrintForms();

}  // namespace citara
