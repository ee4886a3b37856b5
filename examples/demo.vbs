' Citara's demo: fills one control of each kind through its saved data and prints both entries,
' with the italic part between asterisks. Run by scripts/com-demo, which registers the two servers.
Option Explicit

Function Saved(lines)
  Dim text, line
  text = ""
  For Each line In Split(lines, "|")
    text = text & line & vbCrLf
  Next
  Saved = text
End Function

' The entry's text out of its RTF, the italic run marked with asterisks.
Function Plain(rtf)
  Dim body
  body = Mid(rtf, InStr(rtf, "\fs16 ") + 6)
  body = Left(body, InStr(body, "\par") - 1)
  body = Replace(body, "\rtlch\fcs1\ai0\ltrch\fcs0\i0 ", "*")
  Plain = Replace(body, "\rtlch\fcs1\ai\ltrch\fcs0\i ", "*")
End Function

Dim sources, source, control
sources = Array( _
  Array("Citara.Book", "Title:=a tale of two cities|Place of Printing:=London|Publishing Company:=Chapman and Hall|Year:=1859|*Author0Last=Dickens|*Author0First=Charles|*Author0MI="), _
  Array("Citara.Encyclopedia", "Article Title:=tides|Encyclopedia:=the world book|Place of Printing:=Chicago|Publishing Company:=World Book|Year:=1998|Volume #:=19|Page No(s):=20-22"), _
  Array("Citara.Journal", "Article Title:=the novel: a survey|Journal:=modern fiction studies|Year:=1990|Volume #:=36|Issue #:=2|Page No(s):=10-20|*Author0Last=Zola|*Author0First=Emile|*Author0MI="), _
  Array("Citara.Magazine", "Article Title:=the new car|Magazine:=car and driver|Volume:=45|Page No(s):=44-46|*Date=36526|*Author0Last=Smith|*Author0First=John|*Author0MI=Q"), _
  Array("Citara.Newspaper", "Article Title:=city council meets|Newspaper:=the daily news|Section / Page No(s):=A1|*Date=36526"), _
  Array("Citara.Other", "Title:=annual report|Place of Printing:=Boston|Publishing Company:=Acme|*Date=36526|*DateFormat=Year Only"), _
  Array("CitaraWeb.WebArticle", "Title:=tides of the sea|Reference:=ocean world|URL:=http://www.example.com/tides.htm|*Date=36526|*DateRetrieved=36892|*Author0Last=Lee|*Author0First=Ann|*Author0MI="), _
  Array("CitaraWeb.PersonalSite", "URL:=http://www.example.com/~carver/|*Date=36526|*DateRetrieved=36892|*Author0Last=Carver|*Author0First=Ann|*Author0MI="), _
  Array("CitaraWeb.ProfessionalSite", "Title:=products|Publisher:=Acme Corp|URL:=http://www.example.com/products.htm|*Date=36526|*DateRetrieved=36892"), _
  Array("CitaraWeb.Newsgroup", "Subject:=re: tides|Group / List Name:=sci.geo|Msg #:=12|URL:=news:sci.geo|*Date=36526|*DateRetrieved=36892|*Author0Last=Lee|*Author0First=Ann|*Author0MI="))

For Each source In sources
  Set control = CreateObject(source(0))
  control.SavedData = Saved(source(1))
  WScript.Echo source(0)
  WScript.Echo "  MLA: " & Plain(control.GetMLACitaraInfo)
  WScript.Echo "  APA: " & Plain(control.GetAPACitaraInfo)
Next
