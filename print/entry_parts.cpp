#include "print/entry_parts.h"

#include <vector>

namespace citara::print {

std::string Sentence(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendSentence(out, text);
  return out;
}

void AppendSentence(std::string& out, std::string_view text) {
  out += text;
  if (!EndsWithTerminalPunctuation(text)) out += '.';
  out += ' ';
}

std::string OptionalSentence(std::string_view text) { return text.empty() ? std::string() : Sentence(text); }

std::string MlaArticle(std::string_view title) {
  std::string out = "\"";
  out.append(AppendUnlessPunctuated(CapitalizeTitle(title, CitationStyle::MLA), ".")).append("\" ");
  return out;
}

std::string ApaArticle(std::string_view title) { return Sentence(CapitalizeTitle(title, CitationStyle::APA)); }

std::string ApaYear(std::string_view year) {
  std::string out = "(";
  out.append(year).append("). ");
  return out;
}

std::string MlaVolume(std::string_view volume) {
  return volume.empty() ? std::string() : "vol. " + std::string(volume) + ". ";
}

std::string ApaVolume(std::string_view volume) {
  return volume.empty() ? std::string() : "Vol. " + std::string(volume);
}

std::string_view PagesPrefix(std::string_view pages) { return IsPageRange(pages) ? "pp. " : "p. "; }

std::string ApaPages(std::string_view pages) {
  return pages.empty() ? std::string() : std::string(PagesPrefix(pages)).append(pages);
}

std::string_view ApaPublisherName(std::string_view company, std::string_view apaAuthors) {
  const bool companyIsAuthor = apaAuthors.size() == company.size() + 2 && apaAuthors.starts_with(company) &&
                               apaAuthors.ends_with(". ");
  return companyIsAuthor ? "Author" : company;
}

std::string Details(std::initializer_list<std::string_view> details) {
  std::string out;
  for (std::string_view detail : details) {
    if (detail.empty()) continue;
    out += out.empty() ? " (" : ", ";
    out += detail;
  }
  if (!out.empty()) out += ")";
  return out;
}

void AppendApaArticleLead(CitationBuilder& b, std::string_view apaAuthors, std::string_view date,
                          std::string_view article) {
  if (apaAuthors.empty()) {
    b << article << date;
  } else {
    b << apaAuthors << date << article;
  }
}

void AppendMlaBookHead(CitationBuilder& b, std::string_view mlaAuthors, std::string_view mlaEditors,
                       std::string_view title, std::string_view series) {
  const std::string titleText = CapitalizeTitle(title, CitationStyle::MLA);
  b << (mlaAuthors.empty() ? mlaEditors : mlaAuthors);
  b.Italic(titleText);
  b.Append(AppendSentence, titleText);
  if (!series.empty()) b.Append(AppendSentence, CapitalizeTitle(series, CitationStyle::MLA));
  if (!mlaAuthors.empty()) b << mlaEditors;
}

// --- The current editions (apa7, mla9) ---

DateDetail MonthAndDayDetail(const FormValues& v) {
  return v.Checked(kMonthAndDayRadio) ? DateDetail::Day : DateDetail::Month;
}

namespace {

// The ordinal edition without the space the classic MLA part ends with: "3rd ed.".
std::string EditionText(std::string_view edition) { return FormatEdition(edition, CitationStyle::APA); }

}  // namespace

void AppendApa7ItalicTitle(CitationBuilder& b, std::string_view title, std::string_view details) {
  if (title.empty() && details.empty()) return;
  b.Italic(title) << title;
  if (!details.empty()) b << (title.empty() ? "(" : " (") << details << ")";
  if (!details.empty() || !EndsWithTerminalPunctuation(title)) b << ".";
  b << " ";
}

std::string JoinGiven(std::initializer_list<std::string_view> parts, std::string_view separator) {
  std::string out;
  for (std::string_view part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

std::string Mla9Volume(std::string_view volume) {
  return volume.empty() ? std::string() : "vol. " + std::string(volume);
}

Citation Apa7Book(const FormValues& v, std::string_view apa7Date) {
  const ContributorList& authors = v.Authors();
  const ContributorList& editors = v.Editors();
  const std::string title = CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA);
  const std::string details =
      JoinGiven({authors.empty() ? std::string() : Apa7EditorsBeside(editors),
                 JoinGiven({EditionText(v.Text("EditionEdit")), ApaVolume(v.Text("VolumeEdit"))}, ", ")},
                "; ");
  const std::string_view company = v.Text("CompanyEdit");
  CitationBuilder b;
  if (authors.empty() && editors.empty()) {
    AppendApa7ItalicTitle(b, title, details);
    b << apa7Date;
  } else {
    b << (authors.empty() ? Apa7EditorElement(editors) : Apa7AuthorElement(authors)) << apa7Date;
    AppendApa7ItalicTitle(b, title, details);
  }
  if (!PublisherIsAuthor(authors, company)) b << Element(company);
  AppendApa7Doi(b, v);
  return Finished(std::move(b));
}

Citation Mla9Book(const FormValues& v, std::string_view mla9Date) {
  const ContributorList& authors = v.Authors();
  const ContributorList& editors = v.Editors();
  const std::string_view company = v.Text("CompanyEdit");
  const std::string title = CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::MLA);
  CitationBuilder b;
  if (authors.empty()) b << Mla9EditorElement(editors);
  else if (!PublisherIsAuthor(authors, company)) b << Mla9AuthorElement(authors);
  b.Italic(title) << Element(title);
  b << Mla9Elements({authors.empty() ? std::string() : Mla9EditedBy(editors), EditionText(v.Text("EditionEdit")),
                     Mla9Volume(v.Text("VolumeEdit")),
                     company, mla9Date, DoiLink(v)})
    << Element(CapitalizeTitle(v.Text("SeriesEdit"), CitationStyle::MLA));
  return Finished(std::move(b));
}

void AppendApa7ArticleLead(CitationBuilder& b, const FormValues& v, std::string_view apa7Date) {
  AppendApaArticleLead(b, Apa7AuthorElement(v.Authors()), apa7Date,
                       Element(CapitalizeTitle(v.Text("TitleEdit"), CitationStyle::APA)));
}

void AppendApa7Periodical(CitationBuilder& b, std::string_view name, std::string_view volume, std::string_view issue,
                          std::string_view pages) {
  std::string italic = CapitalizeTitle(name, CitationStyle::MLA);
  if (!volume.empty()) italic.append(italic.empty() ? "" : ", ").append(volume);
  std::string rest;
  if (!issue.empty()) rest.append("(").append(issue).append(")");
  if (!pages.empty()) rest.append(italic.empty() && rest.empty() ? "" : ", ").append(EnDashRanges(pages));
  b.Italic(italic) << italic << rest;
  if (!italic.empty() || !rest.empty()) b << (EndsWithTerminalPunctuation(rest.empty() ? italic : rest) ? " " : ". ");
}

Citation Mla9Article(const FormValues& v, std::string_view containerField, std::initializer_list<std::string_view> elements) {
  const std::string container = CapitalizeTitle(v.Text(containerField), CitationStyle::MLA);
  CitationBuilder b;
  b << Mla9AuthorElement(v.Authors()) << Mla9QuotedTitle(v.Text("TitleEdit"));
  const std::string doi = DoiLink(v);
  std::vector<std::string_view> all{container};
  all.insert(all.end(), elements.begin(), elements.end());
  all.push_back(doi);
  b.Italic(container) << Mla9Elements(all);
  return Finished(std::move(b));
}

void AppendApa7Doi(CitationBuilder& b, const FormValues& v) { b << DoiLink(v); }

}  // namespace citara::print
