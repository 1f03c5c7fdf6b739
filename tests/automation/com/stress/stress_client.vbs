' One of several script processes that drive the DLL at the same time, each
' on targets of its own: every round loads the 24-bit and the 8-bit fixture,
' writes each to the worker's own file and loads that file back. The caller
' (tools/script-tests) starts the workers together and compares their files.
'   cscript //nologo stress_client.vbs <fixture folder> <output folder> <worker> <rounds>
' Prints one line per failed check and "N passed, N failed".
Option Explicit

Dim passed, failed, fixtures, output, worker, rounds
passed = 0 : failed = 0
fixtures = WScript.Arguments(0) & "\"
output = WScript.Arguments(1) & "\"
worker = WScript.Arguments(2)
rounds = CLng(WScript.Arguments(3))

Sub CheckEqual(name, got, expected)
  If got = expected Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAILED: worker " & worker & ": " & name & " (got [" & got & "], expected [" & expected & "])"
  End If
End Sub

' Loads source, writes it to target, loads target back: the size survives.
Sub RoundTrip(o, source, target, width, height, depth, round)
  o.ReadFile source
  o.WriteFile target
  o.ReadFile target
  CheckEqual "round " & round & " " & target & " width", o.Width, width
  CheckEqual "round " & round & " " & target & " height", o.Height, height
  CheckEqual "round " & round & " " & target & " depth", o.ColorDepth, depth
End Sub

Dim o, round
Set o = CreateObject("PixmarlKit.ImageFunctions")
For round = 1 To rounds
  RoundTrip o, fixtures & "red24.bmp", output & "stress" & worker & "_red24.bmp", 40, 30, 24, round
  RoundTrip o, fixtures & "grey8.bmp", output & "stress" & worker & "_grey8.bmp", 256, 4, 8, round
Next
WScript.Echo passed & " passed, " & failed & " failed"
