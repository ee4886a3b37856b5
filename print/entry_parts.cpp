#include "print/entry_parts.h"

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

}  // namespace citara::print
