// The entries of the six printed-source forms, one table per form, and the shape of their
// descriptions. Entries are written with the italic run between asterisks; MLA entries of the
// book and the other printed source end with a space.
#include "print/print_forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "form_test_support.h"

namespace citara {
namespace {

using testing::FormInput;
using testing::MarkedEntry;

const ContributorList kCarver = {{"Carver", "Ellen", "M"}};
const ContributorList kDoe = {{"Doe", "Jane", "Q"}};

// A form's input, changed one step at a time from a worked example.
class Input {
 public:
  Input() = default;
  Input Text(std::string field, std::string text) const {
    Input next = *this;
    std::erase_if(next.in_.texts, [&](const auto& entry) { return entry.first == field; });
    next.in_.texts.emplace_back(std::move(field), std::move(text));
    return next;
  }
  // Empties each named field.
  Input Clear(std::initializer_list<const char*> fields) const {
    Input next = *this;
    for (const char* field : fields) next = next.Text(field, "");
    return next;
  }
  Input Authors(ContributorList list) const {
    Input next = *this;
    next.in_.authors = std::move(list);
    return next;
  }
  Input Editors(ContributorList list) const {
    Input next = *this;
    next.in_.editors = std::move(list);
    return next;
  }
  Input Date(CivilDate day) const {
    Input next = *this;
    next.in_.dates = {{"DateEdit", day}};
    return next;
  }
  Input Radio(std::string radio) const {
    Input next = *this;
    next.in_.radio = std::move(radio);
    return next;
  }
  const FormInput& Get() const { return in_; }

 private:
  FormInput in_;
};

struct Row {
  const char* name;
  Input input;
  const char* mla;
  const char* apa;
};

void ExpectEntries(const FormDescription& form, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(MarkedEntry(form, row.input.Get(), CitationStyle::MLA), row.mla) << form.className << ": " << row.name;
    EXPECT_EQ(MarkedEntry(form, row.input.Get(), CitationStyle::APA), row.apa) << form.className << ": " << row.name;
  }
}

TEST(Book, Entries) {
  const Input example = Input()
                            .Authors({{"Smith", "John", "Q"}})
                            .Text("TitleEdit", "the biography of Benjamin Franklin")
                            .Text("PlaceEdit", "New York")
                            .Text("CompanyEdit", "Harbor Books")
                            .Text("YearEdit", "1998")
                            .Text("VolumeEdit", "2")
                            .Text("EditionEdit", "3")
                            .Text("PagesEdit", "12-15");
  // Only the required fields, no contributors.
  const Input tale =
      Input().Text("TitleEdit", "a tale").Text("PlaceEdit", "Boston").Text("CompanyEdit", "Harbor Books").Text("YearEdit", "2001");
  ExpectEntries(
      BookForm(),
      {
          {"example", example,
           "Smith, John Q. *The Biography of Benjamin Franklin*. vol. 2. 3rd ed. New York: Harbor Books, 1998. 12-15. ",
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). New York: Harbor "
           "Books."},
          // MLA names the series and then the editors after the title; APA shows neither.
          {"series and editor", example.Text("SeriesEdit", "the chronicles of Narnia").Editors({{"Brown", "Ann", ""}}),
           "Smith, John Q. *The Biography of Benjamin Franklin*. The Chronicles of Narnia. Ed. Ann Brown. vol. 2. 3rd "
           "ed. New York: Harbor Books, 1998. 12-15. ",
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). New York: Harbor "
           "Books."},
          // Without contributors the APA title takes the author's place, before the year.
          {"no contributors", example.Authors({}),
           "*The Biography of Benjamin Franklin*. vol. 2. 3rd ed. New York: Harbor Books, 1998. 12-15. ",
           "*The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). (1998). New York: Harbor Books."},
          // Without details in parentheses the APA title itself takes the period, in italics.
          {"required fields only", tale, "*A Tale*. Boston: Harbor Books, 2001. ", "*A tale.* (2001). Boston: Harbor Books."},
          {"editors only", tale.Editors({{"Brown", "Ann", ""}}), "Brown, Ann, ed. *A Tale*. Boston: Harbor Books, 2001. ",
           "Brown, A. (Ed.). (2001). *A tale.* Boston: Harbor Books."},
          {"title ends in a question mark", tale.Text("TitleEdit", "what now?"),
           "*What Now?* Boston: Harbor Books, 2001. ", "*What now?* (2001). Boston: Harbor Books."},
          {"edition as a word", tale.Text("EditionEdit", "Unabridged"),
           "*A Tale*. Unabridged ed. Boston: Harbor Books, 2001. ",
           "*A tale* (Unabridged ed.). (2001). Boston: Harbor Books."},
          {"one page", tale.Text("PagesEdit", "7"), "*A Tale*. Boston: Harbor Books, 2001. 7. ",
           "*A tale* (p. 7). (2001). Boston: Harbor Books."},
          {"page range", tale.Text("PagesEdit", "7-9"), "*A Tale*. Boston: Harbor Books, 2001. 7-9. ",
           "*A tale* (pp. 7-9). (2001). Boston: Harbor Books."},
          // No second period after pages that end with one.
          {"pages end with a period", example.Text("PagesEdit", "12-15."),
           "Smith, John Q. *The Biography of Benjamin Franklin*. vol. 2. 3rd ed. New York: Harbor Books, 1998. 12-15. ",
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15.). New York: Harbor "
           "Books."},
          // The separators stay when place and company are empty.
          {"empty place and company", example.Clear({"PlaceEdit", "CompanyEdit"}),
           "Smith, John Q. *The Biography of Benjamin Franklin*. vol. 2. 3rd ed. : , 1998. 12-15. ",
           "Smith, J. Q. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). : ."},
          // A corporate author that is also the publisher is named "Author" as publisher in APA.
          {"company is the author", example.Authors({{"Harbor Books", "", ""}}),
           "Harbor Books. *The Biography of Benjamin Franklin*. vol. 2. 3rd ed. New York: Harbor Books, 1998. 12-15. ",
           "Harbor Books. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). New York: "
           "Author."},
          // The comparison is exact: another spelling keeps the company.
          {"company differs in case", example.Authors({{"Harbor books", "", ""}}),
           "Harbor books. *The Biography of Benjamin Franklin*. vol. 2. 3rd ed. New York: Harbor Books, 1998. 12-15. ",
           "Harbor books. (1998). *The biography of Benjamin Franklin* (3rd ed., Vol. 2, pp. 12-15). New York: Harbor "
           "Books."},
          {"author named like the title", tale.Text("TitleEdit", "tides").Authors({{"Tides", "", ""}}),
           "Tides. *Tides*. Boston: Harbor Books, 2001. ", "Tides. (2001). *Tides.* Boston: Harbor Books."},
      });
}

TEST(Encyclopedia, Entries) {
  const Input example = Input()
                            .Authors(kCarver)
                            .Text("TitleEdit", "ocean tides")
                            .Text("EncyclopediaEdit", "new harbor encyclopedia")
                            .Text("PlaceEdit", "Boston")
                            .Text("CompanyEdit", "Harbor Press")
                            .Text("YearEdit", "1997")
                            .Text("VolumeEdit", "12")
                            .Text("PagesEdit", "233-235");
  ExpectEntries(
      EncyclopediaForm(),
      {
          {"example", example, "Carver, Ellen M. \"Ocean Tides.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233-235). Boston: Harbor "
           "Press."},
          {"no authors", example.Authors({}), "\"Ocean Tides.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "Ocean tides. (1997). In *New harbor encyclopedia* (Vol. 12, pp. 233-235). Boston: Harbor Press."},
          // MLA leaves the volume out; the APA parenthesis keeps its separators.
          {"empty volume", example.Clear({"VolumeEdit"}), "Carver, Ellen M. \"Ocean Tides.\" *New Harbor Encyclopedia*. 1997 ed.",
           "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. , pp. 233-235). Boston: Harbor Press."},
          {"one page", example.Text("PagesEdit", "233"),
           "Carver, Ellen M. \"Ocean Tides.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "Carver, E. M. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, p. 233). Boston: Harbor Press."},
          {"company is the author", example.Authors({{"Harbor Press", "", ""}}),
           "Harbor Press. \"Ocean Tides.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "Harbor Press. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233-235). Boston: Author."},
          {"title ends in a question mark", example.Text("TitleEdit", "who owns the tides?"),
           "Carver, Ellen M. \"Who Owns the Tides?\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "Carver, E. M. (1997). Who owns the tides? In *New harbor encyclopedia* (Vol. 12, pp. 233-235). Boston: "
           "Harbor Press."},
          // The italics land on the encyclopedia, not on the same words earlier in the title or name.
          {"title holds the encyclopedia's name", example.Text("TitleEdit", "history of the new harbor encyclopedia"),
           "Carver, Ellen M. \"History of the New Harbor Encyclopedia.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "Carver, E. M. (1997). History of the new harbor encyclopedia. In *New harbor encyclopedia* (Vol. 12, pp. "
           "233-235). Boston: Harbor Press."},
          {"author named like the encyclopedia", example.Authors({{"New Harbor Encyclopedia", "", ""}}),
           "New Harbor Encyclopedia. \"Ocean Tides.\" *New Harbor Encyclopedia*. vol. 12. 1997 ed.",
           "New Harbor Encyclopedia. (1997). Ocean tides. In *New harbor encyclopedia* (Vol. 12, pp. 233-235). "
           "Boston: Harbor Press."},
      });
}

TEST(Journal, Entries) {
  const Input example = Input()
                            .Authors(kCarver)
                            .Text("TitleEdit", "tidal energy and coastal towns")
                            .Text("JournalEdit", "journal of coastal studies")
                            .Text("YearEdit", "1996")
                            .Text("VolumeEdit", "14")
                            .Text("IssueEdit", "2")
                            .Text("PagesEdit", "101-118");
  ExpectEntries(
      JournalForm(),
      {
          // The journal keeps its MLA capitals in APA; the issue in parentheses is not italic.
          {"example", example,
           "Carver, Ellen M. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies* 14.2 (1996): 101-118.",
           "Carver, E. M. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101-118."},
          // Without an issue the comma after the volume is italic too.
          {"empty issue", example.Clear({"IssueEdit"}),
           "Carver, Ellen M. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies* 14 (1996): 101-118.",
           "Carver, E. M. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14,* 101-118."},
          {"no authors", example.Authors({}),
           "\"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies* 14.2 (1996): 101-118.",
           "Tidal energy and coastal towns. (1996). *Journal of Coastal Studies, 14*(2), 101-118."},
          {"pages end with a period", example.Text("PagesEdit", "101-118."),
           "Carver, Ellen M. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies* 14.2 (1996): 101-118.",
           "Carver, E. M. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), 101-118."},
          {"title ends in a question mark", example.Text("TitleEdit", "is the tide turning?"),
           "Carver, Ellen M. \"Is the Tide Turning?\" *Journal of Coastal Studies* 14.2 (1996): 101-118.",
           "Carver, E. M. (1996). Is the tide turning? *Journal of Coastal Studies, 14*(2), 101-118."},
          {"author named like the journal", example.Authors({{"Journal of Coastal Studies", "", ""}}),
           "Journal of Coastal Studies. \"Tidal Energy and Coastal Towns.\" *Journal of Coastal Studies* 14.2 (1996): "
           "101-118.",
           "Journal of Coastal Studies. (1996). Tidal energy and coastal towns. *Journal of Coastal Studies, 14*(2), "
           "101-118."},
      });
}

TEST(Magazine, Entries) {
  const Input example = Input()
                            .Authors(kCarver)
                            .Text("TitleEdit", "ocean tides")
                            .Text("MagazineEdit", "harbor monthly")
                            .Text("VolumeEdit", "12")
                            .Date({1997, 1, 12})
                            .Text("PagesEdit", "23-25");
  ExpectEntries(
      MagazineForm(),
      {
          // The magazine keeps its MLA capitals in APA; MLA does not cite the volume.
          {"month and day", example, "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly* 12 Jan. 1997. 23-25.",
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly, 12,* 23-25."},
          {"month only", example.Radio("MonthOnlyRadioButton"),
           "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly* Jan. 1997. 23-25.",
           "Carver, E. M. (1997, January). Ocean tides. *Harbor Monthly, 12,* 23-25."},
          {"no authors", example.Authors({}), "\"Ocean Tides.\" *Harbor Monthly* 12 Jan. 1997. 23-25.",
           "Ocean tides. (1997, January 12). *Harbor Monthly, 12,* 23-25."},
          {"september", example.Date({1997, 9, 5}), "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly* 5 Sept. 1997. 23-25.",
           "Carver, E. M. (1997, September 5). Ocean tides. *Harbor Monthly, 12,* 23-25."},
          {"pages end with a period", example.Text("PagesEdit", "23."),
           "Carver, Ellen M. \"Ocean Tides.\" *Harbor Monthly* 12 Jan. 1997. 23.",
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Monthly, 12,* 23."},
          {"title ends in a question mark", example.Text("TitleEdit", "who owns the tides?"),
           "Carver, Ellen M. \"Who Owns the Tides?\" *Harbor Monthly* 12 Jan. 1997. 23-25.",
           "Carver, E. M. (1997, January 12). Who owns the tides? *Harbor Monthly, 12,* 23-25."},
          {"author named like the magazine", example.Authors({{"Harbor Monthly", "", ""}}),
           "Harbor Monthly. \"Ocean Tides.\" *Harbor Monthly* 12 Jan. 1997. 23-25.",
           "Harbor Monthly. (1997, January 12). Ocean tides. *Harbor Monthly, 12,* 23-25."},
      });
}

TEST(Newspaper, Entries) {
  const Input example = Input()
                            .Authors(kCarver)
                            .Text("TitleEdit", "ocean tides")
                            .Text("NewspaperEdit", "harbor daily news")
                            .Text("PagesEdit", "A1, A4")
                            .Date({1997, 1, 12});
  ExpectEntries(
      NewspaperForm(),
      {
          // The newspaper keeps its MLA capitals in APA, and the comma after it is italic.
          {"month and day", example, "Carver, Ellen M. \"Ocean Tides.\" *Harbor Daily News* 12 Jan. 1997: A1, A4.",
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Daily News,* pp. A1, A4."},
          {"month only", example.Radio("MonthOnlyRadioButton"),
           "Carver, Ellen M. \"Ocean Tides.\" *Harbor Daily News* Jan. 1997: A1, A4.",
           "Carver, E. M. (1997, January). Ocean tides. *Harbor Daily News,* pp. A1, A4."},
          {"one page", example.Text("PagesEdit", "B3"), "Carver, Ellen M. \"Ocean Tides.\" *Harbor Daily News* 12 Jan. 1997: B3.",
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Daily News,* p. B3."},
          {"no authors", example.Authors({}), "\"Ocean Tides.\" *Harbor Daily News* 12 Jan. 1997: A1, A4.",
           "Ocean tides. (1997, January 12). *Harbor Daily News,* pp. A1, A4."},
          // The entries use the date itself, never the field's two-digit display of the day.
          {"early day", example.Date({1997, 1, 5}), "Carver, Ellen M. \"Ocean Tides.\" *Harbor Daily News* 5 Jan. 1997: A1, A4.",
           "Carver, E. M. (1997, January 5). Ocean tides. *Harbor Daily News,* pp. A1, A4."},
          {"pages end with a period", example.Text("PagesEdit", "B3."),
           "Carver, Ellen M. \"Ocean Tides.\" *Harbor Daily News* 12 Jan. 1997: B3.",
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Daily News,* p. B3."},
          // Blank required pages keep their separators.
          {"empty pages", example.Clear({"PagesEdit"}), "Carver, Ellen M. \"Ocean Tides.\" *Harbor Daily News* 12 Jan. 1997: .",
           "Carver, E. M. (1997, January 12). Ocean tides. *Harbor Daily News,* p. ."},
          {"author named like the newspaper", example.Authors({{"Harbor Daily News", "", ""}}),
           "Harbor Daily News. \"Ocean Tides.\" *Harbor Daily News* 12 Jan. 1997: A1, A4.",
           "Harbor Daily News. (1997, January 12). Ocean tides. *Harbor Daily News,* pp. A1, A4."},
      });
}

TEST(Other, Entries) {
  const Input example = Input()
                            .Authors(kCarver)
                            .Editors(kDoe)
                            .Text("TitleEdit", "the lighthouse keepers")
                            .Text("SeriesEdit", "coastal histories")
                            .Text("PlaceEdit", "Boston")
                            .Text("CompanyEdit", "Harbor Press")
                            .Date({1997, 1, 12})
                            .Text("VolumeEdit", "2")
                            .Text("EditionEdit", "3")
                            .Text("PagesEdit", "23-25");
  const Input noDetails = example.Clear({"VolumeEdit", "EditionEdit", "PagesEdit"});
  const Input authorOnly = noDetails.Editors({}).Clear({"SeriesEdit"});
  const Input anonymous = noDetails.Authors({}).Editors({});
  ExpectEntries(
      OtherForm(),
      {
          {"all fields", example,
           "Carver, Ellen M. *The Lighthouse Keepers*. Coastal Histories. Ed. Jane Q. Doe. vol. 2. 3rd ed. Boston: "
           "Harbor Press, 12 Jan. 1997. 23-25. ",
           "Carver, E. M. (1997, January 12). The lighthouse keepers. In Doe, J. Q. (Ed.), *Coastal histories* (3rd "
           "ed., Vol. 2, pp. 23-25). Boston: Harbor Press. "},
          {"month and year", example.Radio("MonthYearRadioButton"),
           "Carver, Ellen M. *The Lighthouse Keepers*. Coastal Histories. Ed. Jane Q. Doe. vol. 2. 3rd ed. Boston: "
           "Harbor Press, Jan. 1997. 23-25. ",
           "Carver, E. M. (1997, January). The lighthouse keepers. In Doe, J. Q. (Ed.), *Coastal histories* (3rd ed., "
           "Vol. 2, pp. 23-25). Boston: Harbor Press. "},
          {"editors only", example.Authors({}),
           "Doe, Jane Q., ed. *The Lighthouse Keepers*. Coastal Histories. vol. 2. 3rd ed. Boston: Harbor Press, 12 "
           "Jan. 1997. 23-25. ",
           "Doe, J. Q. (Ed.). (1997, January 12). The lighthouse keepers. In *Coastal histories* (3rd ed., Vol. 2, pp. "
           "23-25). Boston: Harbor Press. "},
          // With authors and editors but no series, APA names the editors after the details and dates twice.
          {"no series", example.Clear({"SeriesEdit"}),
           "Carver, Ellen M. *The Lighthouse Keepers*. Ed. Jane Q. Doe. vol. 2. 3rd ed. Boston: Harbor Press, 12 Jan. "
           "1997. 23-25. ",
           "Carver, E. M. (1997, January 12). *The lighthouse keepers* (3rd ed., Vol. 2, pp. 23-25). Doe, J. Q. (Ed.). "
           "(1997, January 12). Boston: Harbor Press. "},
          {"editors only, no series", example.Authors({}).Clear({"SeriesEdit"}),
           "Doe, Jane Q., ed. *The Lighthouse Keepers*. vol. 2. 3rd ed. Boston: Harbor Press, 12 Jan. 1997. 23-25. ",
           "Doe, J. Q. (Ed.). (1997, January 12). *The lighthouse keepers* (3rd ed., Vol. 2, pp. 23-25). Boston: Harbor "
           "Press. "},
          {"author only, no series or details", authorOnly,
           "Carver, Ellen M. *The Lighthouse Keepers*. Boston: Harbor Press, 12 Jan. 1997. ",
           "Carver, E. M. (1997, January 12). *The lighthouse keepers.* Boston: Harbor Press. "},
          {"no contributors, series, no details", anonymous,
           "*The Lighthouse Keepers*. Coastal Histories. Boston: Harbor Press, 12 Jan. 1997. ",
           "The lighthouse keepers. (1997, January 12). In *Coastal histories.* Boston: Harbor Press. "},
          // The series takes the ". " that follows it into its italics (an italic space).
          {"no contributors, series and details", example.Authors({}).Editors({}),
           "*The Lighthouse Keepers*. Coastal Histories. vol. 2. 3rd ed. Boston: Harbor Press, 12 Jan. 1997. 23-25. ",
           "The lighthouse keepers. (3rd ed., Vol. 2, pp. 23-25). (1997, January 12). In *Coastal histories. *Boston: "
           "Harbor Press. "},
          {"series ends in a question mark", anonymous.Text("SeriesEdit", "lights or wrecks?"),
           "*The Lighthouse Keepers*. Lights or Wrecks? Boston: Harbor Press, 12 Jan. 1997. ",
           "The lighthouse keepers. (1997, January 12). In *Lights or wrecks?* Boston: Harbor Press. "},
          {"no contributors or series, year only", anonymous.Clear({"SeriesEdit"}).Radio("YearOnlyRadioButton"),
           "*The Lighthouse Keepers*. Boston: Harbor Press, 1997. ", "*The lighthouse keepers.* (1997). Boston: Harbor Press. "},
          {"no contributors or series, details", example.Authors({}).Editors({}).Clear({"SeriesEdit"}),
           "*The Lighthouse Keepers*. vol. 2. 3rd ed. Boston: Harbor Press, 12 Jan. 1997. 23-25. ",
           "*The lighthouse keepers* (3rd ed., Vol. 2, pp. 23-25). (1997, January 12). Boston: Harbor Press. "},
          {"title and date only, year only",
           anonymous.Clear({"SeriesEdit", "PlaceEdit", "CompanyEdit"}).Radio("YearOnlyRadioButton"),
           "*The Lighthouse Keepers*. 1997. ", "*The lighthouse keepers.* (1997). "},
          {"place only", authorOnly.Clear({"CompanyEdit"}), "Carver, Ellen M. *The Lighthouse Keepers*. Boston, 12 Jan. 1997. ",
           "Carver, E. M. (1997, January 12). *The lighthouse keepers.* Boston. "},
          {"company only", authorOnly.Clear({"PlaceEdit"}),
           "Carver, Ellen M. *The Lighthouse Keepers*. Harbor Press, 12 Jan. 1997. ",
           "Carver, E. M. (1997, January 12). *The lighthouse keepers.* Harbor Press. "},
          // APA names the publisher "Author" inside its own entry only: the field and MLA keep the company.
          {"company is the author", authorOnly.Authors({{"Harbor Press", "", ""}}),
           "Harbor Press. *The Lighthouse Keepers*. Boston: Harbor Press, 12 Jan. 1997. ",
           "Harbor Press. (1997, January 12). *The lighthouse keepers.* Boston: Author. "},
          {"edition as a word", authorOnly.Text("EditionEdit", "Unabridged"),
           "Carver, Ellen M. *The Lighthouse Keepers*. Unabridged ed. Boston: Harbor Press, 12 Jan. 1997. ",
           "Carver, E. M. (1997, January 12). *The lighthouse keepers* (Unabridged ed.). Boston: Harbor Press. "},
          {"title ends in a question mark", example.Text("TitleEdit", "who keeps the lights?"),
           "Carver, Ellen M. *Who Keeps the Lights?* Coastal Histories. Ed. Jane Q. Doe. vol. 2. 3rd ed. Boston: "
           "Harbor Press, 12 Jan. 1997. 23-25. ",
           "Carver, E. M. (1997, January 12). Who keeps the lights? In Doe, J. Q. (Ed.), *Coastal histories* (3rd ed., "
           "Vol. 2, pp. 23-25). Boston: Harbor Press. "},
          {"pages end with a period", authorOnly.Text("PagesEdit", "23."),
           "Carver, Ellen M. *The Lighthouse Keepers*. Boston: Harbor Press, 12 Jan. 1997. 23. ",
           "Carver, E. M. (1997, January 12). *The lighthouse keepers* (p. 23.). Boston: Harbor Press. "},
          {"author named like the title", authorOnly.Text("TitleEdit", "tides").Authors({{"Tides", "", ""}}),
           "Tides. *Tides*. Boston: Harbor Press, 12 Jan. 1997. ",
           "Tides. (1997, January 12). *Tides.* Boston: Harbor Press. "},
          // The APA italics land on the series, not on the title before it.
          {"title named like the series", example.Text("TitleEdit", "coastal histories"),
           "Carver, Ellen M. *Coastal Histories*. Coastal Histories. Ed. Jane Q. Doe. vol. 2. 3rd ed. Boston: Harbor "
           "Press, 12 Jan. 1997. 23-25. ",
           "Carver, E. M. (1997, January 12). Coastal histories. In Doe, J. Q. (Ed.), *Coastal histories* (3rd ed., "
           "Vol. 2, pp. 23-25). Boston: Harbor Press. "},
      });
}

// The entries are written for filled required fields, but a blank form must still give an entry.
TEST(PrintForms, BlankFormsGiveEntries) {
  const FormInput blank = Input().Clear({"YearEdit"}).Get();
  for (const FormDescription* form : PrintForms()) {
    EXPECT_FALSE(MarkedEntry(*form, blank, CitationStyle::MLA).empty()) << form->className;
    EXPECT_FALSE(MarkedEntry(*form, blank, CitationStyle::APA).empty()) << form->className;
  }
}

// What the rest of Citara reads of each description: the required fields in the order the check
// walks them, the label captions (the saved-data keys) and the date-format captions.
TEST(PrintForms, Descriptions) {
  static const struct {
    const FormDescription& form;
    bool hasEditors;
    std::vector<std::string_view> required;  // in creation order
    std::vector<std::string_view> captions;  // in label order
    std::vector<std::string_view> radios;    // the first one selected at creation
  } cases[] = {
      {BookForm(), true,
       {"YearEdit", "TitleEdit", "PlaceEdit", "CompanyEdit"},
       {"Title:", "Series:", "Place of Printing:", "Publishing Company:", "Year:", "Volume #:", "Edition:", "Page No(s):"},
       {}},
      {EncyclopediaForm(), false,
       {"TitleEdit", "EncyclopediaEdit", "PlaceEdit", "CompanyEdit", "YearEdit", "VolumeEdit", "PagesEdit"},
       {"Article Title:", "Encyclopedia:", "Place of Printing:", "Publishing Company:", "Year:", "Volume #:", "Page No(s):"},
       {}},
      {JournalForm(), false,
       {"YearEdit", "TitleEdit", "JournalEdit", "VolumeEdit", "PagesEdit"},
       {"Article Title:", "Journal:", "Year:", "Volume #:", "Issue #:", "Page No(s):"},
       {}},
      {MagazineForm(), false,
       {"TitleEdit", "MagazineEdit", "PagesEdit", "DateEdit", "VolumeEdit"},
       {"Article Title:", "Magazine:", "Volume:", "Date of Publication:", "Page No(s):"},
       {"Month and Day", "Month Only"}},
      {NewspaperForm(), false,
       {"TitleEdit", "NewspaperEdit", "PagesEdit", "DateEdit"},
       {"Article Title:", "Newspaper:", "Section / Page No(s):", "Date of Publication:"},
       {"Month and Day", "Month Only"}},
      {OtherForm(), true,
       {"TitleEdit", "DateEdit"},
       {"Title:", "Series:", "Place of Printing:", "Publishing Company:", "Date of Publication:", "Volume #:",
        "Edition:", "Page No(s):"},
       {"Month, Day, and Year", "Month and Year", "Year Only"}},
  };
  ASSERT_EQ(PrintForms().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const FormDescription& form = c.form;
    SCOPED_TRACE(form.className);
    EXPECT_EQ(PrintForms()[i], &form);
    EXPECT_EQ(form.caption, form.className);
    EXPECT_EQ(form.deliverable, Deliverable::Citara);
    EXPECT_TRUE(form.hasAuthors);
    EXPECT_EQ(form.hasEditors, c.hasEditors);
    EXPECT_TRUE(form.focusField.empty());
    ASSERT_TRUE(form.mla && form.apa);

    // Every field and radio button is created exactly once.
    std::vector<std::string_view> windowed;
    for (const FieldDescription& f : form.fields) windowed.push_back(f.name);
    for (const RadioDescription& r : form.radios) windowed.push_back(r.name);
    std::vector<std::string_view> created(form.creationOrder.begin(), form.creationOrder.end());
    std::ranges::sort(windowed);
    std::ranges::sort(created);
    EXPECT_EQ(created, windowed);

    std::vector<std::string_view> required;
    for (std::string_view name : form.creationOrder) {
      for (const FieldDescription& f : form.fields) {
        if (f.name == name && f.required) required.push_back(name);
      }
    }
    EXPECT_EQ(required, c.required);

    std::vector<std::string_view> captions;
    for (const FieldDescription& f : form.fields) {
      captions.push_back(f.caption);
      EXPECT_FALSE(f.labelName.empty()) << f.name;
      EXPECT_FALSE(f.hint.empty()) << f.name;
      // Ctrl+X/C/V belong to the flat edits only.
      EXPECT_EQ(f.clipboardKeys, f.kind == FieldKind::Edit) << f.name;
    }
    EXPECT_EQ(captions, c.captions);

    std::vector<std::string_view> radios;
    for (const RadioDescription& r : form.radios) {
      radios.push_back(r.caption);
      EXPECT_EQ(r.checked, &r == form.radios.data()) << r.name;
      EXPECT_FALSE(r.hint.empty()) << r.name;
    }
    EXPECT_EQ(radios, c.radios);
  }
}

// The hints that are assembled from shared pieces read exactly as written.
TEST(PrintForms, AssembledHints) {
  static const struct {
    const FormDescription& form;
    std::string_view field;
    std::string_view hint;
  } cases[] = {
      {BookForm(), "TitleEdit",
       "The title of the book\r\rThe MLA and APA formats have different  \rrules regarding capitalization.  To ensure "
       "\rcompatibility with both formats, enter the title  \rin all lowercase letters with the exception of \rproper "
       "names.  Citara will automatically \rcapitalize the words as necessary.  Some \rexamples of properly entered "
       "titles are:\r\rthe scarlet letter\rthe biography of Benjamin Franklin|"},
      {BookForm(), "SeriesEdit",
       "The series which the book is in\r\rThe MLA and APA formats have different  \rrules regarding capitalization.  "
       "To ensure \rcompatibility with both formats, enter the series\rin all lowercase letters with the exception of "
       "\rproper names.  Citara will automatically \rcapitalize the words as necessary.  Some \rexamples of properly "
       "entered series are:\r\rthe chronicles of Narnia\rchoose your own adventure|"},
      {OtherForm(), "PlaceEdit",
       "The city and state in which the work was \rprinted.  Use the two-letter abbreviation for the \rstates, and "
       "separate the city and state with a \rcomma followed by a space.  Some examples \rinclude:\r\rGrand Rapids, "
       "MI\rMt. Kisco, NY\r\rIf the city is well known such as New York City \ror Chicago, the state is not "
       "necessary.|"},
      {OtherForm(), "EditionEdit",
       "The edition of the work.  This may be a \rnumber such as \"3\" or a word such as \r\"Unabridged.\"|"},
  };
  for (const auto& c : cases) {
    const FieldDescription* field = nullptr;
    for (const FieldDescription& f : c.form.fields) {
      if (f.name == c.field) field = &f;
    }
    ASSERT_NE(field, nullptr) << c.field;
    EXPECT_EQ(field->hint, c.hint) << c.form.className << " " << c.field;
  }
}

}  // namespace
}  // namespace citara
