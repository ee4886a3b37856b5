// The saved-data text of a source form: all of its data as name=value lines, with derived values
// (the capitalized title, the primary names, both entries) for the host's use.
//
// BuildSavedData writes, in order: "Author(s):" and "Editor(s):" (the MLA name texts), one line
// per filled labelled field under its label's caption, the date lines ("*Date" and, for the
// printed forms, "*PublicationDate"; "*DateRetrieved" for a web form's retrieval date), the chosen
// "*DateFormat", "*Title", "*PrimaryNames", "*PrimaryName<n>", "*APAPrimaryName<n>", the two
// entries as RTF each closed by its END line, then every contributor as "*Author<i>Last" / "First"
// / "MI" (and "*Editor<i>..."). LoadSavedData reads back only the entered data: the labelled
// fields, the dates, the date format and the contributor lists.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace citara {

class TSourceForm;

// A saved-data text that cannot be loaded: names the key and the value that failed.
class SavedDataError : public std::runtime_error {
 public:
  SavedDataError(std::string key, std::string value, std::string_view why);
  const std::string& Key() const { return key_; }
  const std::string& Value() const { return value_; }

 private:
  std::string key_;
  std::string value_;
};

std::string BuildSavedData(TSourceForm& form);

// Checks every value first; throws SavedDataError, changing nothing, when one cannot be loaded.
void LoadSavedData(TSourceForm& form, std::string_view text);

}  // namespace citara
