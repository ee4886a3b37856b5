// The entries of the current editions, apa7 and mla9: one table per style over the ten forms,
// each form's first row its bundled example (examples/*.txt), then the shared parts at their
// edges. Sources are plain records of values (SourceValues), as a CSL-JSON document or a list
// fills them; entries are written with the italic run between asterisks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/editions.h"
#include "core/saved_data.h"
#include "core/source_values.h"
#include "print/print_forms.h"
#include "web/web_forms.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace citara {
namespace {

const ContributorList kCarver = {{"Carver", "Ellen", "M"}};
const ContributorList kTwo = {{"Carver", "Ellen", "M"}, {"Ostrowski", "Paweł", ""}};
const ContributorList kThree = {{"Carver", "Ellen", "M"}, {"Ostrowski", "Paweł", ""}, {"Doe", "Jane", "Q"}};
const ContributorList kBrown = {{"Brown", "Ann", ""}};
const ContributorList kBrownCole = {{"Brown", "Ann", ""}, {"Cole", "Ben", ""}};
const ContributorList kBrownColeDee = {{"Brown", "Ann", ""}, {"Cole", "Ben", ""}, {"Dee", "Cy", ""}};

// The saved-data text of a bundled example (examples/NAME.txt); a failure of the test when it
// cannot be read.
std::string ExampleText(const std::string& name) {
  const std::string path = std::string(CITARA_EXAMPLES_DIR) + "/" + name + ".txt";
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A source's values: a bundled example, as loading its saved-data text gives them, changed one
// step at a time.
class Source {
 public:
  Source(const FormDescription& form, std::string example) : form_(&form), example_(std::move(example)) {}
  Source Text(std::string field, std::string text) const {
    Source next = *this;
    next.texts_.emplace_back(std::move(field), std::move(text));
    return next;
  }
  Source Authors(ContributorList list) const {
    Source next = *this;
    next.authors_ = std::move(list);
    return next;
  }
  Source Editors(ContributorList list) const {
    Source next = *this;
    next.editors_ = std::move(list);
    return next;
  }
  Source Radio(std::string radio) const {
    Source next = *this;
    next.radio_ = std::move(radio);
    return next;
  }
  Source Doi(std::string doi) const {
    Source next = *this;
    next.doi_ = std::move(doi);
    return next;
  }
  SourceValues Values() const {
    const OleDate now = OleFromCivil({2000, 1, 1});
    SourceValues v(*form_, now);
    ReadSavedData(ExampleText(example_), v, now);
    for (const auto& [field, text] : texts_) v.SetText(*v.FieldIndex(field), text);
    if (!radio_.empty()) v.SelectRadio(*v.RadioIndex(radio_));
    if (authors_) v.SetAuthors(*authors_);
    if (editors_) v.SetEditors(*editors_);
    if (!doi_.empty()) v.SetCslVariable("DOI", doi_);
    return v;
  }
  const FormDescription& Form() const { return *form_; }

 private:
  const FormDescription* form_;
  std::string example_;
  std::vector<std::pair<std::string, std::string>> texts_;
  std::optional<ContributorList> authors_, editors_;  // the example's unless changed
  std::string radio_, doi_;
};

struct Row {
  const char* name;
  Source source;
  const char* entry;
};

void ExpectEntries(EntryRule FormDescription::*rule, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    const SourceValues values = row.source.Values();
    EXPECT_EQ(CitationToMarked((row.source.Form().*rule)(values)), row.entry)
        << row.source.Form().className << ": " << row.name;
  }
}

// The bundled examples (examples/*.txt).
const Source kBook(BookForm(), "book");
const Source kEncyclopedia(EncyclopediaForm(), "encyclopedia");
const Source kJournal(JournalForm(), "journal");
const Source kMagazine(MagazineForm(), "magazine");
const Source kNewspaper(NewspaperForm(), "newspaper");
const Source kOther(OtherForm(), "other");
const Source kWebArticle(WebArticleForm(), "webarticle");
const Source kPersonalSite(PersonalSiteForm(), "personalsite");
const Source kProfessionalSite(ProfessionalSiteForm(), "professionalsite");
const Source kNewsgroup(NewsgroupForm(), "newsgroup");

std::vector<Row> Apa7Rows() {
  return {
          // Book: editors beside authors stand in the title's parenthesis; no place, pages or series.
          {"example", kBook,
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2). Harbor Books."},
          {"two editors beside", kBook.Editors(kBrownCole).Text("SeriesEdit", "founders"),
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown & B. Cole, Eds.; 3rd ed., Vol. 2). "
           "Harbor Books."},
          {"three editors beside", kBook.Editors(kBrownColeDee).Text("EditionEdit", "").Text("VolumeEdit", ""),
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown, B. Cole, & C. Dee, Eds.). Harbor "
           "Books."},
          {"editors only", kBook.Authors({}),
           "Brown, A. (Ed.). (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2). Harbor Books."},
          {"two editors only", kBook.Authors({}).Editors(kBrownCole),
           "Brown, A., & Cole, B. (Eds.). (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2). Harbor "
           "Books."},
          {"no author and no editor", kBook.Authors({}).Editors({}),
           "*The biography of Benjamin Franklin* (3rd ed., Vol. 2). (1998). Harbor Books."},
          {"no details: the period is not italic", kBook.Editors({}).Text("EditionEdit", "").Text("VolumeEdit", ""),
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin*. Harbor Books."},
          {"a title ending in a question mark", kBook.Editors({}).Text("TitleEdit", "what now?").Text("VolumeEdit", "").Text("EditionEdit", ""),
           "Smith, J. Q. (1998). *What now?* Harbor Books."},
          {"no year", kBook.Text("YearEdit", ""),
           "Smith, J. Q. (n.d.). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2). Harbor Books."},
          {"publisher equal to the author", kBook.Authors({{"Harbor Books", "", ""}}),
           "Harbor Books. (1998). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2)."},
          {"publisher not quite the author", kBook.Authors({{"Harbor books", "", ""}}).Editors({}),
           "Harbor books. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2). Harbor Books."},
          {"no publisher", kBook.Text("CompanyEdit", ""),
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (A. Brown, Ed.; 3rd ed., Vol. 2)."},
          {"a DOI", kBook.Editors({}).Doi("10.1000/xyz"),
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2). Harbor Books. "
           "https://doi.org/10.1000/xyz"},

          {"example", kEncyclopedia,
           "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233–235). Harbor Press."},
          {"one page", kEncyclopedia.Text("PagesEdit", "233"),
           "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, p. 233). Harbor Press."},
          {"no author", kEncyclopedia.Authors({}),
           "Ocean tides. (1997). In *New harbor encyclopedia* (Vol. 12, pp. 233–235). Harbor Press."},
          {"no volume and no pages", kEncyclopedia.Text("VolumeEdit", "").Text("PagesEdit", ""),
           "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia*. Harbor Press."},
          {"publisher equal to the author", kEncyclopedia.Authors({{"Harbor Press", "", ""}}),
           "Harbor Press. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233–235)."},

          {"example", kJournal,
           "Carver, E. M., & Ostrowski, P. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, "
           "14*(2), 101–118."},
          {"one author, no issue", kJournal.Authors(kCarver).Text("IssueEdit", ""),
           "Carver, E. M. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*, 101–118."},
          {"three authors", kJournal.Authors(kThree),
           "Carver, E. M., Ostrowski, P., & Doe, J. Q. (1996). Tidal energy and coastal towns. *Journal of Coastal "
           "Studies, 14*(2), 101–118."},
          {"no author", kJournal.Authors({}),
           "Tidal energy and coastal towns. (1996). *Journal of Coastal Studies, 14*(2), 101–118."},
          {"a hyphenated first name", kJournal.Authors({{"Roux", "Anne-Sophie", ""}}),
           "Roux, A.-S. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101–118."},
          {"a DOI", kJournal.Doi("10.1000/xyz"),
           "Carver, E. M., & Ostrowski, P. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, "
           "14*(2), 101–118. https://doi.org/10.1000/xyz"},
          {"no journal name and no volume", kJournal.Authors(kCarver).Text("JournalEdit", "").Text("VolumeEdit", "").Text("IssueEdit", ""),
           "Carver, E. M. (1996). Tidal energy and coastal towns. 101–118."},
          {"a DOI given as a link", kJournal.Authors(kCarver).Doi("https://doi.org/10.1000/xyz"),
           "Carver, E. M. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101–118. "
           "https://doi.org/10.1000/xyz"},

          {"example", kMagazine, "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly, 12*, 23–25."},
          {"month only", kMagazine.Radio("MonthOnlyRadioButton"),
           "Carver, E. M. (1997, January). Ocean tides. *Harbor Monthly, 12*, 23–25."},
          {"no volume", kMagazine.Text("VolumeEdit", ""),
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly*, 23–25."},

          {"example", kNewspaper,
           "Zola, É. (2001, September 9). City council votes on the harbor plan. *Harbor Daily News*, A1."},
          {"pages as typed but their ranges", kNewspaper.Text("PagesEdit", "A1, A4-A5, 6-7").Radio("MonthOnlyRadioButton"),
           "Zola, É. (2001, September). City council votes on the harbor plan. *Harbor Daily News*, A1, A4-A5, 6–7."},
          {"no author", kNewspaper.Authors({}),
           "City council votes on the harbor plan. (2001, September 9). *Harbor Daily News*, A1."},

          {"example", kOther, "Trail Society. (1999, May). *A guide to the coastal trail: Maps and notes*."},
          {"year only, publisher kept", kOther.Authors(kCarver).Radio("YearOnlyRadioButton"),
           "Carver, E. M. (1999). *A guide to the coastal trail: Maps and notes*. Trail Society."},
          {"full date, editor beside, edition", kOther.Authors(kCarver).Editors({{"Doe", "Jane", "Q"}})
               .Radio("MonthDayYearRadioButton").Text("EditionEdit", "2"),
           "Carver, E. M. (1999, May 1). *A guide to the coastal trail: Maps and notes* (J. Q. Doe, Ed.; 2nd ed.). "
           "Trail Society."},
          {"editors only", kOther.Authors({}).Editors(kBrown),
           "Brown, A. (Ed.). (1999, May). *A guide to the coastal trail: Maps and notes*. Trail Society."},
          {"no author and no editor", kOther.Authors({}),
           "*A guide to the coastal trail: Maps and notes*. (1999, May). Trail Society."},

          {"example", kWebArticle,
           "Carver, E. M. (2000, March 3). *The rising tide*. Coastal Science Online. http://www.example.com/tides.html"},
          {"no author, year only", kWebArticle.Authors({}).Radio("YearOnlyRadioButton"),
           "*The rising tide*. (2000). Coastal Science Online. http://www.example.com/tides.html"},
          {"no site", kWebArticle.Text("ReferenceEdit", "").Radio("MonthYearRadioButton"),
           "Carver, E. M. (2000, March). *The rising tide*. http://www.example.com/tides.html"},
          {"a DOI instead of the URL", kWebArticle.Doi("10.1000/xyz"),
           "Carver, E. M. (2000, March 3). *The rising tide*. Coastal Science Online. https://doi.org/10.1000/xyz"},

          {"example", kPersonalSite,
           "Carver, E. M. (2000, June). [Home page]. Retrieved March 4, 2001, from http://www.example.com/~carver/"},
          {"no author", kPersonalSite.Authors({}),
           "[Home page]. (2000, June). Retrieved March 4, 2001, from http://www.example.com/~carver/"},
          {"two authors, full date", kPersonalSite.Authors(kTwo).Radio("MonthDayYearRadioButton"),
           "Carver, E. M., & Ostrowski, P. (2000, June 1). [Home page]. Retrieved March 4, 2001, from "
           "http://www.example.com/~carver/"},

          {"example", kProfessionalSite,
           "Harbor University. (2000, November 20). *Harbor research center*. Retrieved March 4, 2001, from "
           "http://www.example.edu/harbor/"},
          {"no publisher", kProfessionalSite.Text("PublisherEdit", ""),
           "*Harbor research center*. (2000, November 20). Retrieved March 4, 2001, from http://www.example.edu/harbor/"},
          {"publisher as typed", kProfessionalSite.Text("PublisherEdit", "U of Chicago").Radio("YearOnlyRadioButton"),
           "U of Chicago. (2000). *Harbor research center*. Retrieved March 4, 2001, from http://www.example.edu/harbor/"},

          {"example", kNewsgroup,
           "Carver, E. M. (2000, February 14). *Tide tables for the north shore* [Online forum post]. "
           "news:sci.example.tides"},
          {"a list name as typed", kNewsgroup.Text("GroupNameEdit", "coastal research list").Text("URLEdit", "http://lists.example.org/42"),
           "Carver, E. M. (2000, February 14). *Tide tables for the north shore* [Online forum post]. coastal "
           "research list. http://lists.example.org/42"},
          {"no author", kNewsgroup.Authors({}),
           "*Tide tables for the north shore* [Online forum post]. (2000, February 14). news:sci.example.tides"},
  };
}

std::vector<Row> Mla9Rows() {
  return {
          {"example", kBook,
           "Smith, John Q. *The Biography of Benjamin Franklin*. Edited by Ann Brown, 3rd ed., vol. 2, Harbor Books, "
           "1998."},
          {"series last", kBook.Editors({}).Text("SeriesEdit", "lives of the founders"),
           "Smith, John Q. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, 1998. Lives of the "
           "Founders."},
          {"two editors beside", kBook.Editors(kBrownCole),
           "Smith, John Q. *The Biography of Benjamin Franklin*. Edited by Ann Brown and Ben Cole, 3rd ed., vol. 2, "
           "Harbor Books, 1998."},
          {"three editors beside", kBook.Editors(kBrownColeDee),
           "Smith, John Q. *The Biography of Benjamin Franklin*. Edited by Ann Brown et al., 3rd ed., vol. 2, Harbor "
           "Books, 1998."},
          {"editor only", kBook.Authors({}),
           "Brown, Ann, editor. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, 1998."},
          {"two editors only", kBook.Authors({}).Editors(kBrownCole),
           "Brown, Ann, and Ben Cole, editors. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, "
           "1998."},
          {"three editors only", kBook.Authors({}).Editors(kBrownColeDee),
           "Brown, Ann, et al., editors. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, 1998."},
          {"two authors", kBook.Authors(kTwo).Editors({}),
           "Carver, Ellen M., and Paweł Ostrowski. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor "
           "Books, 1998."},
          {"three authors", kBook.Authors(kThree).Editors({}),
           "Carver, Ellen M., et al. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, 1998."},
          {"publisher equal to the author", kBook.Authors({{"Harbor Books", "", ""}}).Editors({}),
           "*The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, 1998."},
          {"only the title and the year", kBook.Editors({}).Authors({}).Text("EditionEdit", "").Text("VolumeEdit", "")
               .Text("CompanyEdit", ""),
           "*The Biography of Benjamin Franklin*. 1998."},
          {"a title ending in a question mark", kBook.Editors({}).Text("TitleEdit", "what now?"),
           "Smith, John Q. *What Now?* 3rd ed., vol. 2, Harbor Books, 1998."},
          {"a DOI", kBook.Editors({}).Doi("10.1000/xyz"),
           "Smith, John Q. *The Biography of Benjamin Franklin*. 3rd ed., vol. 2, Harbor Books, 1998, "
           "https://doi.org/10.1000/xyz."},

          {"example", kEncyclopedia,
           "Carver, Ellen M. \"Ocean Tides.\" *New Harbor Encyclopedia*, vol. 12, Harbor Press, 1997, pp. 233–35."},
          {"no author, one page", kEncyclopedia.Authors({}).Text("PagesEdit", "233"),
           "\"Ocean Tides.\" *New Harbor Encyclopedia*, vol. 12, Harbor Press, 1997, p. 233."},

          {"example", kJournal,
           "Carver, Ellen M., and Paweł Ostrowski. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies*, "
           "vol. 14, no. 2, 1996, pp. 101–18."},
          {"three authors, no issue", kJournal.Authors(kThree).Text("IssueEdit", ""),
           "Carver, Ellen M., et al. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies*, vol. 14, 1996, "
           "pp. 101–18."},
          {"pages kept whole", kJournal.Authors(kCarver).Text("PagesEdit", "498-532"),
           "Carver, Ellen M. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies*, vol. 14, no. 2, 1996, "
           "pp. 498–532."},
          {"a DOI after the pages", kJournal.Doi("10.1000/xyz"),
           "Carver, Ellen M., and Paweł Ostrowski. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies*, "
           "vol. 14, no. 2, 1996, pp. 101–18, https://doi.org/10.1000/xyz."},
          {"a title ending in a question mark", kJournal.Authors(kCarver).Text("TitleEdit", "tides or waves?"),
           "Carver, Ellen M. \"Tides or Waves?\" *Journal of Coastal Studies*, vol. 14, no. 2, 1996, pp. 101–18."},

          {"example", kMagazine,
           "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly*, vol. 12, 12 Jan. 1997, pp. 23–25."},
          {"month only, no volume", kMagazine.Radio("MonthOnlyRadioButton").Text("VolumeEdit", ""),
           "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly*, Jan. 1997, pp. 23–25."},

          {"example", kNewspaper,
           "Zola, Émile. \"City Council Votes on the Harbor Plan.\" *Harbor Daily News*, 9 Sept. 2001, p. A1."},
          {"several pages", kNewspaper.Text("PagesEdit", "A1, A4"),
           "Zola, Émile. \"City Council Votes on the Harbor Plan.\" *Harbor Daily News*, 9 Sept. 2001, pp. A1, A4."},

          {"example", kOther, "*A Guide to the Coastal Trail: Maps and Notes*. Trail Society, May 1999."},
          {"an author, a series, year only", kOther.Authors(kCarver).Text("SeriesEdit", "coastal guides").Radio("YearOnlyRadioButton"),
           "Carver, Ellen M. *A Guide to the Coastal Trail: Maps and Notes*. Trail Society, 1999. Coastal Guides."},
          {"editor only, full date", kOther.Authors({}).Editors(kBrown).Radio("MonthDayYearRadioButton"),
           "Brown, Ann, editor. *A Guide to the Coastal Trail: Maps and Notes*. Trail Society, 1 May 1999."},

          {"example", kWebArticle,
           "Carver, Ellen M. \"The Rising Tide.\" *Coastal Science Online*, 3 Mar. 2000, www.example.com/tides.html. "
           "Accessed 4 Mar. 2001."},
          {"no site, https", kWebArticle.Text("ReferenceEdit", "").Text("URLEdit", "https://www.example.com/t")
               .Radio("MonthYearRadioButton"),
           "Carver, Ellen M. \"The Rising Tide.\" Mar. 2000, www.example.com/t. Accessed 4 Mar. 2001."},
          {"a DOI instead of the URL", kWebArticle.Doi("10.1000/xyz"),
           "Carver, Ellen M. \"The Rising Tide.\" *Coastal Science Online*, 3 Mar. 2000, https://doi.org/10.1000/xyz. "
           "Accessed 4 Mar. 2001."},

          {"example", kPersonalSite,
           "Carver, Ellen M. Home page. June 2000, www.example.com/~carver/. Accessed 4 Mar. 2001."},
          {"no author, year only", kPersonalSite.Authors({}).Radio("YearOnlyRadioButton"),
           "Home page. 2000, www.example.com/~carver/. Accessed 4 Mar. 2001."},

          {"example", kProfessionalSite,
           "*Harbor Research Center*. Harbor University, 20 Nov. 2000, www.example.edu/harbor/. Accessed 4 Mar. 2001."},
          {"no publisher", kProfessionalSite.Text("PublisherEdit", ""),
           "*Harbor Research Center*. 20 Nov. 2000, www.example.edu/harbor/. Accessed 4 Mar. 2001."},

          {"example", kNewsgroup,
           "Carver, Ellen M. \"Tide Tables for the North Shore.\" 14 Feb. 2000, news:sci.example.tides. Accessed 4 "
           "Mar. 2001."},
          {"a list name", kNewsgroup.Text("GroupNameEdit", "coastal research list"),
           "Carver, Ellen M. \"Tide Tables for the North Shore.\" *Coastal Research List*, 14 Feb. 2000, "
           "news:sci.example.tides. Accessed 4 Mar. 2001."},
  };
}

TEST(Apa7, EntriesOfEveryForm) { ExpectEntries(&FormDescription::apa7, Apa7Rows()); }
TEST(Mla9, EntriesOfEveryForm) { ExpectEntries(&FormDescription::mla9, Mla9Rows()); }

#if !defined(_WIN32)
// Every entry of both tables as one RTF document, a paragraph each, read back by pandoc: each
// paragraph is the entry's text with exactly its italic run as emphasis.
TEST(Editions, EveryEntryReadsBackWithPandocToItsTextAndItalicRun) {
  if (std::system("pandoc --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "pandoc is not installed";
  std::vector<std::string> expected;
  std::string rtf(RtfDocumentStart());
  for (auto [rule, rows] : {std::pair{&FormDescription::apa7, Apa7Rows()}, std::pair{&FormDescription::mla9, Mla9Rows()}}) {
    for (const Row& row : rows) {
      const SourceValues values = row.source.Values();
      AppendRtfParagraph(rtf, (row.source.Form().*rule)(values));
      expected.push_back(row.entry);
    }
  }
  rtf += RtfDocumentEnd();
  const std::string path = ::testing::TempDir() + "citara_editions_" + std::to_string(getpid()) + ".rtf";
  std::ofstream(path, std::ios::binary) << rtf;
  FILE* pipe = popen(("pandoc -f rtf -t html --wrap=none " + path).c_str(), "r");
  std::string html;
  char buf[65536];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) html.append(buf, n);
  pclose(pipe);
  std::remove(path.c_str());
  std::vector<std::string> read;
  for (std::size_t at = 0; (at = html.find("<p>", at)) != std::string::npos;) {
    const std::size_t end = html.find("</p>", at);
    std::string paragraph = html.substr(at + 3, end - at - 3);
    static const std::pair<std::string_view, std::string_view> kReplace[] = {
        {"<em>", "*"}, {"</em>", "*"}, {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (const auto& [from, to] : kReplace) {
      for (std::size_t i = 0; (i = paragraph.find(from, i)) != std::string::npos; i += to.size()) {
        paragraph.replace(i, from.size(), to);
      }
    }
    read.push_back(std::move(paragraph));
    at = end;
  }
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i], expected[i]);
}
#endif

// --- The shared parts at their edges ---

ContributorList People(int count) {
  ContributorList list;
  for (int i = 1; i <= count; ++i) list.push_back({"P" + std::to_string(i), "Q", ""});
  return list;
}

TEST(Editions, Apa7NameListsUpToTwentyThenTheEllipsis) {
  EXPECT_EQ(Apa7Names(People(1)), "P1, Q.");
  EXPECT_EQ(Apa7Names(People(2)), "P1, Q., & P2, Q.");
  EXPECT_EQ(Apa7Names(People(3)), "P1, Q., P2, Q., & P3, Q.");
  std::string twenty;
  for (int i = 1; i <= 19; ++i) twenty += "P" + std::to_string(i) + ", Q., ";
  EXPECT_EQ(Apa7Names(People(20)), twenty + "& P20, Q.");
  // 21 or more: the first 19, ". . . ", the last, and no "&".
  EXPECT_EQ(Apa7Names(People(21)), twenty + ". . . P21, Q.");
  EXPECT_EQ(Apa7Names(People(30)), twenty + ". . . P30, Q.");
  EXPECT_EQ(Apa7AuthorElement(People(21)), twenty + ". . . P21, Q. ");

  const SourceValues journal = kJournal.Authors(People(21)).Values();
  EXPECT_EQ(CitationToMarked(JournalForm().apa7(journal)),
            twenty + ". . . P21, Q. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101–118.");
}

TEST(Editions, NamesAndInitials) {
  static const struct {
    Contributor c;
    const char *apa7, *direct;
  } cases[] = {
      {{"Carver", "Ellen", "M"}, "Carver, E. M.", "E. M. Carver"},
      {{"Roux", "Anne-Sophie", ""}, "Roux, A.-S.", "A.-S. Roux"},
      {{"Roux", "Anne-Sophie", "M."}, "Roux, A.-S. M.", "A.-S. M. Roux"},
      {{"Lee", "Mary Ann", ""}, "Lee, M. A.", "M. A. Lee"},
      {{"Lee", " Jean- Paul ", ""}, "Lee, J.-P.", "J.-P. Lee"},
      {{"Lee", "Jean-", ""}, "Lee, J.", "J. Lee"},
      {{"Zola", "Émile", ""}, "Zola, É.", "É. Zola"},
      {{"Trail Society", "", ""}, "Trail Society", "Trail Society"},
      {{"", "Plato", ""}, "P.", "P."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Apa7InvertedName(c.c), c.apa7) << c.c.first;
    EXPECT_EQ(Apa7DirectName(c.c), c.direct) << c.c.first;
  }
  // The author element ends with one period, never two after an initial.
  EXPECT_EQ(Apa7AuthorElement({{"Trail Society", "", ""}}), "Trail Society. ");
  EXPECT_EQ(Apa7AuthorElement(kCarver), "Carver, E. M. ");
  EXPECT_EQ(Mla9AuthorElement(kCarver), "Carver, Ellen M. ");
  EXPECT_EQ(Mla9AuthorElement(kTwo), "Carver, Ellen M., and Paweł Ostrowski. ");
  EXPECT_EQ(Mla9AuthorElement(kThree), "Carver, Ellen M., et al. ");
  EXPECT_TRUE(PublisherIsAuthor({{"Harbor Books", "", ""}}, "Harbor Books"));
  EXPECT_FALSE(PublisherIsAuthor({{"Harbor Books", "", ""}}, "Harbor books"));
  EXPECT_FALSE(PublisherIsAuthor({{"Harbor Books", "", ""}, {"Harbor Books", "", ""}}, "Harbor Books"));
  EXPECT_FALSE(PublisherIsAuthor({{"Books", "Harbor", ""}}, "Books"));
}

TEST(Editions, PageRanges) {
  static const struct {
    const char *typed, *dashed, *cut;
  } cases[] = {
      {"101-118", "101–118", "101–18"},
      {"233-235", "233–235", "233–35"},
      {"1087-1089", "1087–1089", "1087–89"},
      {"498-532", "498–532", "498–532"},
      {"1296-1303", "1296–1303", "1296–1303"},
      {"23-25", "23–25", "23–25"},
      {"98-102", "98–102", "98–102"},
      {"101-105", "101–105", "101–05"},
      {"A1-A4", "A1-A4", "A1-A4"},
      {"A1, 101-118, 233-235", "A1, 101–118, 233–235", "A1, 101–18, 233–35"},
      {"7-", "7-", "7-"},
      {"-7", "-7", "-7"},
      {"12+", "12+", "12+"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EnDashRanges(c.typed), c.dashed) << c.typed;
    EXPECT_EQ(CutMlaRanges(c.typed), c.cut) << c.typed;
  }
  EXPECT_EQ(Apa7Pages("7"), "p. 7");
  EXPECT_EQ(Apa7Pages("233-235"), "pp. 233–235");
  EXPECT_EQ(Mla9Pages("233-235"), "pp. 233–35");
  EXPECT_EQ(Mla9Pages(""), "");
}

TEST(Editions, Locations) {
  EXPECT_EQ(WithoutHttpScheme("http://www.example.com/"), "www.example.com/");
  EXPECT_EQ(WithoutHttpScheme("HTTPS://www.example.com/"), "www.example.com/");
  EXPECT_EQ(WithoutHttpScheme("news:sci.example.tides"), "news:sci.example.tides");
  EXPECT_EQ(WithoutHttpScheme("ftp://example.com/"), "ftp://example.com/");
  for (const char* doi : {"10.1000/xyz", " 10.1000/xyz ", "doi:10.1000/xyz", "https://doi.org/10.1000/xyz",
                          "http://dx.doi.org/10.1000/xyz"}) {
    EXPECT_EQ(DoiLink(kJournal.Doi(doi).Values()), "https://doi.org/10.1000/xyz") << doi;
  }
  EXPECT_EQ(DoiLink(kJournal.Values()), "");
}

TEST(Editions, EveryFormHasBothEditions) {
  for (auto forms : {PrintForms(), WebForms()}) {
    for (const FormDescription* form : forms) {
      EXPECT_NE(form->mla9, nullptr) << form->className;
      EXPECT_NE(form->apa7, nullptr) << form->className;
    }
  }
}

}  // namespace
}  // namespace citara
