#include "collection/csl_mapping.h"

#include <algorithm>
#include <stdexcept>

#include "collection/forms.h"
#include "print/print_forms.h"
#include "web/web_forms.h"

namespace citara {
namespace {

constexpr CslField kBook[] = {
    {"TitleEdit", "title"},           {"SeriesEdit", "collection-title"}, {"PlaceEdit", "publisher-place"},
    {"CompanyEdit", "publisher"},     {"YearEdit", "issued"},             {"VolumeEdit", "volume"},
    {"EditionEdit", "edition"},       {"PagesEdit", "page"},
};
constexpr CslField kEncyclopedia[] = {
    {"TitleEdit", "title"},       {"EncyclopediaEdit", "container-title"}, {"PlaceEdit", "publisher-place"},
    {"CompanyEdit", "publisher"}, {"YearEdit", "issued"},                  {"VolumeEdit", "volume"},
    {"PagesEdit", "page"},
};
constexpr CslField kJournal[] = {
    {"TitleEdit", "title"}, {"JournalEdit", "container-title"}, {"YearEdit", "issued"},
    {"VolumeEdit", "volume"}, {"IssueEdit", "issue"},           {"PagesEdit", "page"},
};
constexpr CslField kMagazine[] = {
    {"TitleEdit", "title"},   {"MagazineEdit", "container-title"}, {"VolumeEdit", "volume"},
    {"DateEdit", "issued"},   {"PagesEdit", "page"},
};
constexpr CslField kNewspaper[] = {
    {"TitleEdit", "title"},
    {"NewspaperEdit", "container-title"},
    {"PagesEdit", "page", "section"},
    {"DateEdit", "issued"},
};
constexpr CslField kOther[] = {
    {"TitleEdit", "title"},       {"SeriesEdit", "collection-title"}, {"PlaceEdit", "publisher-place"},
    {"CompanyEdit", "publisher"}, {"DateEdit", "issued"},             {"VolumeEdit", "volume"},
    {"EditionEdit", "edition"},   {"PagesEdit", "page"},
};
constexpr CslField kWebArticle[] = {
    {"TitleEdit", "title"},           {"ReferenceEdit", "container-title"}, {"URLEdit", "URL"},
    {"DateRetrievedEdit", "accessed"}, {"DateEdit", "issued"},
};
constexpr CslField kPersonalSite[] = {
    {"URLEdit", "URL"}, {"DateRetrievedEdit", "accessed"}, {"DateEdit", "issued"},
};
constexpr CslField kProfessionalSite[] = {
    {"TitleEdit", "title"},           {"PublisherEdit", "publisher"}, {"URLEdit", "URL"},
    {"DateRetrievedEdit", "accessed"}, {"DateEdit", "issued"},
};
constexpr CslField kNewsgroup[] = {
    {"SubjectEdit", "title"},          {"GroupNameEdit", "container-title"}, {"MessageNumberEdit", "number"},
    {"URLEdit", "URL"},                {"DateRetrievedEdit", "accessed"},    {"DateEdit", "issued"},
};

constexpr CslFormMapping kMappings[] = {
    {BookForm, "book", kBook},
    {EncyclopediaForm, "entry-encyclopedia", kEncyclopedia},
    {JournalForm, "article-journal", kJournal},
    {MagazineForm, "article-magazine", kMagazine},
    {NewspaperForm, "article-newspaper", kNewspaper},
    {OtherForm, "document", kOther},
    {WebArticleForm, "webpage", kWebArticle},
    {PersonalSiteForm, "webpage", kPersonalSite},
    {ProfessionalSiteForm, "webpage", kProfessionalSite},
    {NewsgroupForm, "post", kNewsgroup},
};

// Each form's own type first (a webpage is a WebArticle, a post a Newsgroup), then the nearest.
constexpr CslTypeForm kTypeForms[] = {
    {"book", "Book"},
    {"entry-encyclopedia", "Encyclopedia"},
    {"article-journal", "Journal"},
    {"article-magazine", "Magazine"},
    {"article-newspaper", "Newspaper"},
    {"document", "Other"},
    {"webpage", "WebArticle"},
    {"post", "Newsgroup"},
    {"classic", "Book"},
    {"entry", "Encyclopedia"},
    {"entry-dictionary", "Encyclopedia"},
    {"review", "Journal"},
    {"review-book", "Journal"},
    {"periodical", "Magazine"},
    {"post-weblog", "WebArticle"},
    {"chapter", "Other"},
    {"report", "Other"},
    {"thesis", "Other"},
    {"paper-conference", "Other"},
    {"pamphlet", "Other"},
    {"manuscript", "Other"},
};

constexpr std::string_view kNameVariables[] = {
    "author",       "chair",           "collection-editor",  "compiler",           "composer",  "container-author",
    "contributor",  "curator",         "director",           "editor",             "editorial-director",
    "executive-producer", "guest",     "host",               "interviewer",        "illustrator", "narrator",
    "organizer",    "original-author", "performer",          "producer",           "recipient", "reviewed-author",
    "script-writer", "series-creator", "translator",
};
constexpr std::string_view kDateVariables[] = {"accessed", "available-date", "event-date",
                                               "issued",   "original-date",  "submitted"};
constexpr std::string_view kOtherVariables[] = {
    "type", "id", "citation-key", "categories", "language", "journalAbbreviation", "shortTitle", "abstract",
    "annote", "archive", "archive_collection", "archive_location", "archive-place", "authority", "call-number",
    "chapter-number", "citation-number", "citation-label", "collection-number", "collection-title",
    "container-title", "container-title-short", "dimensions", "division", "DOI", "edition", "event",
    "event-title", "event-place", "first-reference-note-number", "genre", "ISBN", "ISSN", "issue", "jurisdiction",
    "keyword", "locator", "medium", "note", "number", "number-of-pages", "number-of-volumes",
    "original-publisher", "original-publisher-place", "original-title", "page", "page-first", "part",
    "part-title", "PMCID", "PMID", "printing", "publisher", "publisher-place", "references", "reviewed-genre",
    "reviewed-title", "scale", "section", "source", "status", "supplement", "title", "title-short", "URL",
    "version", "volume", "volume-title", "volume-title-short", "year-suffix", "custom",
};

template <std::size_t N>
bool In(const std::string_view (&list)[N], std::string_view name) {
  return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

}  // namespace

std::span<const CslFormMapping> CslFormMappings() { return kMappings; }

const CslFormMapping& CslMappingOf(const FormDescription& form) {
  for (const CslFormMapping& m : kMappings) {
    if (&m.form() == &form) return m;
  }
  throw std::logic_error("no CSL mapping for the form " + std::string(form.className));
}

std::span<const CslTypeForm> CslTypeForms() { return kTypeForms; }

const FormDescription& FormForCslType(std::string_view type) {
  for (const CslTypeForm& t : kTypeForms) {
    if (t.type == type) return *FindForm(t.form);
  }
  return OtherForm();
}

bool IsCslNameVariable(std::string_view variable) { return In(kNameVariables, variable); }
bool IsCslDateVariable(std::string_view variable) { return In(kDateVariables, variable); }
bool IsCslVariable(std::string_view variable) {
  return IsCslNameVariable(variable) || IsCslDateVariable(variable) || In(kOtherVariables, variable);
}

}  // namespace citara
