' A VBScript client of ZORFP.ZOR_EP_01 (the older interface: methods without results) against the
' simulator on COM<port>:
'   cscript //nologo zor_ep_01.vbs PORT UNBUILT_MEMBER
' Wine's cscript swallows uncaught errors and exits 0, so errors are trapped here, and the script
' ends with its marker line and its own exit code. Kept in UTF-8 here; the suite runs it as a Russian
' Windows would, in code page 1251 (Wine's VBScript has no ChrW to spell Cyrillic otherwise), with
' UNBUILT_MEMBER replaced by that member's name (nor has it Execute).
Option Explicit
Dim passed, failed
passed = 0
failed = 0

Sub Check(name, ok, detail)
  If ok Then
    WScript.Echo "PASS " & name & ": " & detail
    passed = passed + 1
  Else
    WScript.Echo "FAIL " & name & ": " & detail
    failed = failed + 1
  End If
End Sub

Sub Main(port, unbuilt)
  Dim fp, other, code, text, total
  Set fp = CreateObject("ZORFP.ZOR_EP_01")
  Set other = CreateObject("ZORFP.ZOR_05_03")

  fp.Lang = 2
  Check "Lang reads back what was written", fp.Lang = 2, fp.Lang
  fp.LogRecord = False
  other.CP866 = False
  Check "CP866 is shared by every class", fp.CP866 = False, fp.CP866

  ' The older interface reports no text for a port that does not open.
  fp.FPInit 199, 9600, 1, 1
  Check "a missing port: no text", fp.FPErrorMessage() = "", fp.FPErrorMessage()
  Check "FPInit opens COM" & port, fp.FPInit(port, 9600, 1, 1) = True, ""
  text = fp.GetSerialNumber()
  Check "the printer's serial number", Len(text) > 0, text
  Check "a successful command: result 0, no text", fp.GetByteResult() = 0 And fp.FPErrorMessage() = "", fp.GetByteResult()

  ' A refused rate sets only the text, in the class's language.
  fp.FPChangeRate 5
  Check "Ukrainian text", fp.FPErrorMessage() = "Невірно задана швидкість зв'язку!", fp.FPErrorMessage()
  fp.Lang = 1
  fp.FPChangeRate 5
  Check "Russian text", fp.FPErrorMessage() = "Неверно задана скорость связи!", fp.FPErrorMessage()

  ' A whole receipt: two items, paid in cash with change.
  fp.FPSale 3, 0, 450, 0, "Чай черный", 101
  Check "FPSale", fp.GetByteResult() = 0 And fp.FPErrorMessage() = "", fp.GetByteResult() & " " & fp.FPErrorMessage()
  fp.FPSale 1, 0, 1200, 1, "Кофе", 102
  Check "FPSale of a second item", fp.GetByteResult() = 0, fp.GetByteResult() & " " & fp.FPErrorMessage()
  fp.FPPayment 3, 3000, True, False, ""
  Check "FPPayment in cash closes the receipt", fp.GetByteResult() = 0, fp.GetByteResult() & " " & fp.FPErrorMessage()

  ' Failures that reach the script as errors.
  On Error Resume Next
  fp.NoSuchMember
  code = Err.Number
  Err.Clear
  On Error GoTo 0
  Check "an unknown member fails cleanly", code = 438, Hex(code)
  If unbuilt <> "-" Then
    On Error Resume Next
    fp.UNBUILT_MEMBER
    code = Err.Number
    text = Err.Description
    Err.Clear
    On Error GoTo 0
    Check "an automation failure carries its message", Hex(code) = "80004001" And text = unbuilt & " is not implemented in this build", Hex(code) & " " & text
  End If

  Check "FPClose", fp.FPClose() = True, ""
End Sub

On Error Resume Next
Main CInt(WScript.Arguments(0)), WScript.Arguments(1)
If Err.Number <> 0 Then Check "the script runs through", False, Hex(Err.Number) & " " & Err.Description
On Error GoTo 0
WScript.Echo "SCRIPT DONE " & passed & " passed, " & failed & " failed"
If failed = 0 And passed > 0 Then WScript.Quit 0 Else WScript.Quit 1
