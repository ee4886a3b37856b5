' Drives the ten controls as a VBScript host does: creates each by its ProgID, loads a saved-data
' text, compares both entries with the expected RTF, then loads the saved data it reads back into a
' fresh control, which must give the same text and the same entries. Ends with a completion line
' that the test looks for (cscript exits 0 even after a script error).
Option Explicit

Dim failures
failures = 0

Sub Expect(what, actual, expected)
  If actual <> expected Then
    failures = failures + 1
    WScript.Echo "FAIL: " & what & vbCrLf & "  got:      " & actual & vbCrLf & "  expected: " & expected
  End If
End Sub

' A saved-data text from its lines ("|" between them).
Function Saved(lines)
  Dim text, line
  text = ""
  For Each line In Split(lines, "|")
    text = text & line & vbCrLf
  Next
  Saved = text
End Function

' The RTF document up to the entry's text.
Function Header()
  Header = "{\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fcharset0 MS Sans Serif;}}" & vbCrLf & _
           "\viewkind4\uc1\pard\rtlch\fcs1\af0\afs16\ltrch\fcs0\f0\fs16 "
End Function

' The RTF of an entry written with its italic run between asterisks.
Function Rtf(marked)
  Dim first, second
  first = InStr(marked, "*")
  second = InStr(first + 1, marked, "*")
  Rtf = Header & Left(marked, first - 1) & "\rtlch\fcs1\ai\ltrch\fcs0\i " & _
        Mid(marked, first + 1, second - first - 1) & "\rtlch\fcs1\ai0\ltrch\fcs0\i0 " & Mid(marked, second + 1) & _
        "\par" & vbCrLf & "}" & vbCrLf
End Function

Dim rows
rows = Array( _
  Array("Citara.Book", "Title:=a tale of two cities|Place of Printing:=London|Publishing Company:=Chapman|Year:=1859|*Author0Last=Dickens|*Author0First=Charles|*Author0MI=", _
        "Dickens, Charles. *A Tale of Two Cities*. London: Chapman, 1859. ", _
        "Dickens, C. (1859). *A tale of two cities.* London: Chapman."), _
  Array("Citara.Encyclopedia", "Article Title:=tides|Encyclopedia:=the world book|Place of Printing:=Chicago|Publishing Company:=World Book|Year:=1998|Volume #:=19|Page No(s):=20-22", _
        """Tides."" *The World Book*. vol. 19. 1998 ed.", _
        "Tides. (1998). In *The world book* (Vol. 19, pp. 20-22). Chicago: World Book."), _
  Array("Citara.Journal", "Article Title:=the novel: a survey|Journal:=modern fiction studies|Year:=1990|Volume #:=36|Issue #:=2|Page No(s):=10-20|*Author0Last=Zola|*Author0First=" & Chr(201) & "mile|*Author0MI=", _
        "Zola, \u201 ?mile. ""The Novel: A Survey."" *Modern Fiction Studies* 36.2 (1990): 10-20.", _
        "Zola, \u201 ?. (1990). The novel: A survey. *Modern Fiction Studies, 36*(2), 10-20."), _
  Array("Citara.Magazine", "Article Title:=the new car|Magazine:=car and driver|Volume:=45|Page No(s):=44-46|*Date=36526|*Author0Last=Smith|*Author0First=John|*Author0MI=Q", _
        "Smith, John Q. ""The New Car."" *Car and Driver* 1 Jan. 2000. 44-46.", _
        "Smith, J. Q. (2000, January 1). The new car. *Car and Driver, 45,* 44-46."), _
  Array("Citara.Newspaper", "Article Title:=city council meets|Newspaper:=the daily news|Section / Page No(s):=A1|*Date=36526", _
        """City Council Meets."" *The Daily News* 1 Jan. 2000: A1.", _
        "City council meets. (2000, January 1). *The Daily News,* p. A1."), _
  Array("Citara.Other", "Title:=annual report|Place of Printing:=Boston|Publishing Company:=Acme|*Date=36526|*DateFormat=Year Only", _
        "*Annual Report*. Boston: Acme, 2000. ", _
        "*Annual report.* (2000). Boston: Acme. "), _
  Array("CitaraWeb.WebArticle", "Title:=tides of the sea|Reference:=ocean world|URL:=http://www.example.com/tides.htm|*Date=36526|*DateRetrieved=36892|*Author0Last=Lee|*Author0First=Ann|*Author0MI=", _
        "Lee, Ann. ""Tides of the Sea."" *Ocean World*. 1 Jan. 2000 <http://www.example.com/tides.htm>.", _
        "Lee, A. (2000, January 1). Tides of the sea. *Ocean world.* Retrieved January 1, 2001, from http://www.example.com/tides.htm"), _
  Array("CitaraWeb.ProfessionalSite", "Title:=products|Publisher:=Acme Corp|URL:=http://www.example.com/products.htm|*Date=36526|*DateRetrieved=36892", _
        "*Products*. Acme Corp. 1 Jan. 2000 <http://www.example.com/products.htm>.", _
        "Acme Corp. (2000, January 1). *Products.* Retrieved January 1, 2001, from http://www.example.com/products.htm"))

' Entries without an italic run.
Dim plainRows
plainRows = Array( _
  Array("CitaraWeb.PersonalSite", "URL:=http://www.example.com/~carver/|*Date=36526|*DateRetrieved=36892|*Author0Last=Carver|*Author0First=Ann|*Author0MI=", _
        "Carver, Ann. Home page. 1 Jan. 2000 <http://www.example.com/~carver/>.", _
        "Carver, A. (2000, January 1). Home page. Retrieved January 1, 2001, from http://www.example.com/~carver/"), _
  Array("CitaraWeb.Newsgroup", "Subject:=re: tides|Group / List Name:=sci.geo|Msg #:=12|URL:=news:sci.geo|*Date=36526|*DateRetrieved=36892|*Author0Last=Lee|*Author0First=Ann|*Author0MI=", _
        "Lee, Ann. ""Re: Tides."" Online posting. Sci.geo. 1 Jan. 2000 <news:sci.geo>.", _
        "Lee, A. (2000, January 1). Re: Tides. [Msg 12]. Message posted to news:sci.geo"))

Function PlainRtf(text)
  PlainRtf = Header & text & "\par" & vbCrLf & "}" & vbCrLf
End Function

Sub CheckControl(progId, lines, mla, apa)
  Dim control, copy, text
  Set control = CreateObject(progId)
  control.SavedData = Saved(lines)
  Expect progId & " MLA", control.GetMLACitaraInfo, mla
  Expect progId & " APA", control.GetAPACitaraInfo(), apa
  text = control.SavedData
  Set copy = CreateObject(progId)
  copy.SavedData = text
  Expect progId & " saved data read back", copy.SavedData, text
  Expect progId & " MLA after the round trip", copy.GetMLACitaraInfo, mla
  Expect progId & " APA after the round trip", copy.GetAPACitaraInfo, apa
  ' Reset empties the control: its saved data no longer names the author.
  control.Reset
  Expect progId & " after Reset", InStr(control.SavedData, "*Author0Last"), 0
  Expect progId & " ValidateData of a reset control", control.ValidateData, False
End Sub

Dim row
For Each row In rows
  CheckControl row(0), row(1), Rtf(row(2)), Rtf(row(3))
Next
For Each row In plainRows
  CheckControl row(0), row(1), PlainRtf(row(2)), PlainRtf(row(3))
Next

' A saved-data text that cannot be loaded: the put fails with E_UNEXPECTED and error information.
Dim magazine
Set magazine = CreateObject("Citara.Magazine")
On Error Resume Next
magazine.SavedData = Saved("Article Title:=kept|*Date=not a day")
Expect "failed put: status", Hex(Err.Number), "8000FFFF"
Expect "failed put: description", Err.Description, "cannot load the saved data: the value ""not a day"" of ""*Date"" is not a number"
Expect "failed put: source", Err.Source, "Citara.Magazine"
On Error GoTo 0
Expect "failed put: nothing loaded", InStr(magazine.SavedData, "kept"), 0

If failures = 0 Then
  WScript.Echo "controls_test.vbs: all checks passed"
Else
  WScript.Echo "controls_test.vbs: " & failures & " checks failed"
End If
