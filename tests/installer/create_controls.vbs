' Creates a control of each of the ten classes by its ProgID, as a script host of its bitness does.
' Usage: cscript //nologo create_controls.vbs all|none
'   all:  every control is created and answers (its Width, an entry from GetMLACitaraInfo);
'   none: no control can be created (nothing is registered).
' Prints one line per control and "create_controls.vbs: all checks passed" when the expectation holds.
Option Explicit
Dim expect, progIds, progId, control, failures, entry
expect = WScript.Arguments(0)
progIds = Array("Citara.Book", "Citara.Encyclopedia", "Citara.Magazine", "Citara.Newspaper", "Citara.Journal", _
                "Citara.Other", "CitaraWeb.PersonalSite", "CitaraWeb.ProfessionalSite", "CitaraWeb.WebArticle", _
                "CitaraWeb.Newsgroup")
failures = 0
For Each progId In progIds
  Set control = Nothing
  On Error Resume Next
  Set control = CreateObject(progId)
  On Error GoTo 0
  If expect = "all" Then
    If control Is Nothing Then
      WScript.Echo "FAIL " & progId & ": not created"
      failures = failures + 1
    Else
      entry = control.GetMLACitaraInfo()
      If control.Width <= 0 Or Left(entry, 5) <> "{\rtf" Then
        WScript.Echo "FAIL " & progId & ": Width " & control.Width & ", entry " & Left(entry, 20)
        failures = failures + 1
      Else
        WScript.Echo progId & ": created, Width " & control.Width
      End If
    End If
  ElseIf Not control Is Nothing Then
    WScript.Echo "FAIL " & progId & ": still created after uninstalling"
    failures = failures + 1
  Else
    WScript.Echo progId & ": not registered"
  End If
Next
If failures = 0 Then WScript.Echo "create_controls.vbs: all checks passed"
WScript.Quit failures
