// Drives the ten controls as a JScript host does: creates each by its ProgID, loads a saved-data
// text, compares both entries with the expected RTF, then loads the saved data it reads back into a
// fresh control, which must give the same text and the same entries. Text outside Latin-1 (Greek,
// a character beyond the 16-bit range, an unpaired surrogate) must cross the boundary unchanged.
// Ends with a completion line that the test looks for (cscript exits 0 even after a script error).
var failures = 0;

function expect(what, actual, expected) {
  if (actual !== expected) {
    failures++;
    WScript.Echo("FAIL: " + what + "\r\n  got:      " + actual + "\r\n  expected: " + expected);
  }
}

function saved(lines) {
  var text = "";
  for (var i = 0; i < lines.length; i++) text += lines[i] + "\r\n";
  return text;
}

var header = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}\r\n" +
             "\\viewkind4\\uc1\\pard\\rtlch\\fcs1\\af0\\afs16\\ltrch\\fcs0\\f0\\fs16 ";
var italicOn = "\\rtlch\\fcs1\\ai\\ltrch\\fcs0\\i ", italicOff = "\\rtlch\\fcs1\\ai0\\ltrch\\fcs0\\i0 ";
var trailer = "\\par\r\n}\r\n";

// The RTF of an entry written with its italic run, if any, between asterisks.
function rtf(marked) {
  var first = marked.indexOf("*");
  if (first < 0) return header + marked + trailer;
  var second = marked.indexOf("*", first + 1);
  return header + marked.substring(0, first) + italicOn + marked.substring(first + 1, second) + italicOff +
         marked.substring(second + 1) + trailer;
}

var rows = [
  ["Citara.Book",
   ["Title:=a tale of two cities", "Place of Printing:=London", "Publishing Company:=Chapman", "Year:=1859",
    "*Author0Last=Dickens", "*Author0First=Charles", "*Author0MI="],
   "Dickens, Charles. *A Tale of Two Cities*. London: Chapman, 1859. ",
   "Dickens, C. (1859). *A tale of two cities.* London: Chapman."],
  // Greek and a character beyond the 16-bit range (a surrogate pair), as RTF \u units.
  ["Citara.Book",
   ["Title:=odes", "Place of Printing:=Athens", "Publishing Company:=Kedros", "Year:=1998",
    "*Author0Last=\u03a3\u03bf\u03c6\u03af\u03b1", "*Author0First=\ud835\udc00nna", "*Author0MI="],
   "\\u931 ?\\u959 ?\\u966 ?\\u943 ?\\u945 ?, \\u-10187 ?\\u-9216 ?nna. *Odes*. Athens: Kedros, 1998. ",
   "\\u931 ?\\u959 ?\\u966 ?\\u943 ?\\u945 ?, \\u-10187 ?\\u-9216 ?. (1998). *Odes.* Athens: Kedros."],
  ["Citara.Encyclopedia",
   ["Article Title:=tides", "Encyclopedia:=the world book", "Place of Printing:=Chicago",
    "Publishing Company:=World Book", "Year:=1998", "Volume #:=19", "Page No(s):=20-22"],
   "\"Tides.\" *The World Book*. vol. 19. 1998 ed.",
   "Tides. (1998). In *The world book* (Vol. 19, pp. 20-22). Chicago: World Book."],
  ["Citara.Journal",
   ["Article Title:=the novel: a survey", "Journal:=modern fiction studies", "Year:=1990", "Volume #:=36",
    "Issue #:=2", "Page No(s):=10-20", "*Author0Last=Zola", "*Author0First=\u00c9mile", "*Author0MI="],
   "Zola, \\u201 ?mile. \"The Novel: A Survey.\" *Modern Fiction Studies* 36.2 (1990): 10-20.",
   "Zola, \\u201 ?. (1990). The novel: A survey. *Modern Fiction Studies, 36*(2), 10-20."],
  ["Citara.Magazine",
   ["Article Title:=the new car", "Magazine:=car and driver", "Volume:=45", "Page No(s):=44-46", "*Date=36526",
    "*Author0Last=Smith", "*Author0First=John", "*Author0MI=Q"],
   "Smith, John Q. \"The New Car.\" *Car and Driver* 1 Jan. 2000. 44-46.",
   "Smith, J. Q. (2000, January 1). The new car. *Car and Driver, 45,* 44-46."],
  ["Citara.Newspaper",
   ["Article Title:=city council meets", "Newspaper:=the daily news", "Section / Page No(s):=A1", "*Date=36526"],
   "\"City Council Meets.\" *The Daily News* 1 Jan. 2000: A1.",
   "City council meets. (2000, January 1). *The Daily News,* p. A1."],
  ["Citara.Other",
   ["Title:=annual report", "Place of Printing:=Boston", "Publishing Company:=Acme", "*Date=36526",
    "*DateFormat=Year Only"],
   "*Annual Report*. Boston: Acme, 2000. ",
   "*Annual report.* (2000). Boston: Acme. "],
  ["CitaraWeb.WebArticle",
   ["Title:=tides of the sea", "Reference:=ocean world", "URL:=http://www.example.com/tides.htm", "*Date=36526",
    "*DateRetrieved=36892", "*Author0Last=Lee", "*Author0First=Ann", "*Author0MI="],
   "Lee, Ann. \"Tides of the Sea.\" *Ocean World*. 1 Jan. 2000 <http://www.example.com/tides.htm>.",
   "Lee, A. (2000, January 1). Tides of the sea. *Ocean world.* Retrieved January 1, 2001, from http://www.example.com/tides.htm"],
  ["CitaraWeb.PersonalSite",
   ["URL:=http://www.example.com/~carver/", "*Date=36526", "*DateRetrieved=36892", "*Author0Last=Carver",
    "*Author0First=Ann", "*Author0MI="],
   "Carver, Ann. Home page. 1 Jan. 2000 <http://www.example.com/~carver/>.",
   "Carver, A. (2000, January 1). Home page. Retrieved January 1, 2001, from http://www.example.com/~carver/"],
  ["CitaraWeb.ProfessionalSite",
   ["Title:=products", "Publisher:=Acme Corp", "URL:=http://www.example.com/products.htm", "*Date=36526",
    "*DateRetrieved=36892"],
   "*Products*. Acme Corp. 1 Jan. 2000 <http://www.example.com/products.htm>.",
   "Acme Corp. (2000, January 1). *Products.* Retrieved January 1, 2001, from http://www.example.com/products.htm"],
  ["CitaraWeb.Newsgroup",
   ["Subject:=re: tides", "Group / List Name:=sci.geo", "Msg #:=12", "URL:=news:sci.geo", "*Date=36526",
    "*DateRetrieved=36892", "*Author0Last=Lee", "*Author0First=Ann", "*Author0MI="],
   "Lee, Ann. \"Re: Tides.\" Online posting. Sci.geo. 1 Jan. 2000 <news:sci.geo>.",
   "Lee, A. (2000, January 1). Re: Tides. [Msg 12]. Message posted to news:sci.geo"]
];

for (var r = 0; r < rows.length; r++) {
  var progId = rows[r][0], mla = rtf(rows[r][2]), apa = rtf(rows[r][3]);
  var control = new ActiveXObject(progId);
  control.SavedData = saved(rows[r][1]);
  expect(progId + " MLA", control.GetMLACitaraInfo(), mla);
  expect(progId + " APA", control.GetAPACitaraInfo(), apa);
  var text = control.SavedData;
  var copy = new ActiveXObject(progId);
  copy.SavedData = text;
  expect(progId + " saved data read back", copy.SavedData, text);
  expect(progId + " MLA after the round trip", copy.GetMLACitaraInfo(), mla);
  expect(progId + " APA after the round trip", copy.GetAPACitaraInfo(), apa);
}

// An unpaired surrogate in a field comes back as the same code unit.
var book = new ActiveXObject("Citara.Book");
book.SavedData = saved(["Series:=x\ud800y"]);
expect("unpaired surrogate kept", book.SavedData.indexOf("Series:=x\ud800y\r\n") >= 0, true);

// Every member of the standard form properties answers by name; booleans come back as true/false.
var journal = new ActiveXObject("Citara.Journal");
journal.Visible = 1;
expect("Visible", journal.Visible, true);
journal.Caption = "\u0416urnal";
expect("Caption", journal.Caption, "\u0416urnal");
expect("Width", journal.Width, 607);
expect("Height", journal.Height, 142);
var article = new ActiveXObject("CitaraWeb.WebArticle");
expect("Width as a method", article.Width(), 597);
expect("Height as a method", article.Height(), 140);

// A saved-data text that cannot be loaded: E_UNEXPECTED with the error's message, nothing loaded.
var magazine = new ActiveXObject("Citara.Magazine");
try {
  magazine.SavedData = saved(["Article Title:=kept", "*Date=not a day"]);
  expect("failed put throws", false, true);
} catch (e) {
  expect("failed put: status", (e.number >>> 0).toString(16), "8000ffff");
  expect("failed put: description", e.description,
         "cannot load the saved data: the value \"not a day\" of \"*Date\" is not a number");
}
expect("failed put: nothing loaded", magazine.SavedData.indexOf("kept"), -1);

WScript.Echo(failures === 0 ? "controls_test.js: all checks passed" : "controls_test.js: " + failures + " checks failed");
