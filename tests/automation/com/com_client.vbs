' The COM server driven as an ASP page's VBScript drives it: created by its
' ProgID, every property kind set and read back, a BMP loaded and written
' under each overwrite mode, and each failure seen in Err with its
' description, source and number. Run by tools/script-tests:
'   cscript //nologo com_client.vbs <fixture folder> <output folder>
' Prints one line per failed check and "N passed, N failed".
Option Explicit

Const kSource = "PixmarlKit.ImageFunctions"
Const kUnexpected = &H8000FFFF
Const kNotByteArray = "Invalid variant: a one-dimensional byte array is expected."
Dim passed, failed, fixtures, output, bits, fso
passed = 0 : failed = 0
fixtures = WScript.Arguments(0) & "\"
output = WScript.Arguments(1) & "\"
bits = WScript.Arguments(2)
Set fso = CreateObject("Scripting.FileSystemObject")

Sub Check(name, condition)
  If condition Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAILED: " & name
  End If
End Sub

Sub CheckEqual(name, got, expected)
  Check name & " (got [" & got & "], expected [" & expected & "])", got = expected
End Sub

' The last call failed with this description, our source and E_UNEXPECTED.
Sub CheckError(name, description)
  CheckEqual name & ": description", Err.Description, description
  CheckEqual name & ": source", Err.Source, kSource
  CheckEqual name & ": number", Hex(Err.Number), Hex(kUnexpected)
  Err.Clear
End Sub

' Members still being built answer "Not implemented yet."; the shell's part
' (the failure reaching the script) is checked all the same.
Function Pending()
  Pending = (Err.Description = "Not implemented yet.")
End Function

Function NewObject()
  Set NewObject = CreateObject("PixmarlKit.ImageFunctions")
End Function

' One property of each kind; tests/automation/com/com_client.js walks every
' property by name (Wine's VBScript has no Eval or Execute).
Sub TestPropertyKinds()
  Dim o : Set o = NewObject()
  CheckEqual "TypeName", TypeName(o), "IImageFunctions"
  CheckEqual "default Width", o.Width, 0
  CheckEqual "default ColorDepth", o.ColorDepth, 24
  CheckEqual "default TextColor", o.TextColor, "000000"
  CheckEqual "default IgnoreInputFileType", o.IgnoreInputFileType, True
  Check "Version names the build: " & o.Version, InStr(o.Version, "1.0.0.0") > 0 And InStr(o.Version, "(" & bits & " bit)") > 0

  o.Antialias = True
  CheckEqual "Boolean property True", o.Antialias, True
  CheckEqual "Boolean property is a Boolean", TypeName(o.Antialias), "Boolean"
  o.Antialias = 7
  CheckEqual "any non-zero is True", CInt(o.Antialias), -1
  o.Antialias = False
  CheckEqual "Boolean property False", o.Antialias, False
  o.KeepAlpha = True
  CheckEqual "KeepAlpha put is accepted and reads False", o.KeepAlpha, False

  o.JpegQuality = 123456
  CheckEqual "Long property", o.JpegQuality, 123456
  CheckEqual "Long property is a Long", TypeName(o.JpegQuality), "Long"
  o.ExtraAlphaValue = 300
  CheckEqual "ExtraAlphaValue keeps the low 8 bits", o.ExtraAlphaValue, 44
  CheckEqual "DPItoDPM(96)", o.DPItoDPM(96), 3780
  CheckEqual "DPMtoDPI(3780)", o.DPMtoDPI(3780), 96

  ' Enumerations cross as 32-bit values; values outside the named members
  ' are stored unchanged.
  o.OverwriteMode = 2
  CheckEqual "enumeration property", o.OverwriteMode, 2
  CheckEqual "enumeration property is a Long", TypeName(o.OverwriteMode), "Long"
  o.TextJustify = 7
  CheckEqual "enumeration value outside its members", o.TextJustify, 7

  o.TransparentColor = "#ff8000"
  CheckEqual "colour text", o.TransparentColor, "FF8000"
  o.TransparentColor = "zz"
  CheckEqual "colour text keeps its value on bad text", o.TransparentColor, "FF8000"
  o.BackgroundColor = "ooOoFF"
  CheckEqual "colour text o reads as 0", o.BackgroundColor, "0000FF"
  CheckEqual "setting BackgroundColor sets HasBackground", o.HasBackground, True

  o.OverwriteChr = "_"
  CheckEqual "text property", o.OverwriteChr, "_"
End Sub

' The four members that return their value directly, without an HRESULT.
Sub TestDirectResults()
  Dim o : Set o = NewObject()
  CheckEqual "OLEColorToStr(255)", o.OLEColorToStr(255), "FF0000"
  CheckEqual "OLEColorToStr is a String", TypeName(o.OLEColorToStr(255)), "String"
  CheckEqual "OLEColorToStr(16711680)", o.OLEColorToStr(16711680), "0000FF"
  CheckEqual "OLEColorToStr(-1)", o.OLEColorToStr(-1), "FFFFFF"
  CheckEqual "StrToOLEColor(#FF8000)", o.StrToOLEColor("#FF8000"), 33023
  CheckEqual "StrToOLEColor(zz)", o.StrToOLEColor("zz"), 0
  CheckEqual "StrToOLEColor(ooOoFF)", o.StrToOLEColor("ooOoFF"), 16711680
  On Error Resume Next
  Dim index : index = o.ColorIndex("FF0000")
  Check "ColorIndex without an image fails: " & Err.Description, _
    Err.Description = "No image loaded." Or Pending()
  CheckEqual "ColorIndex failure source", Err.Source, kSource
  CheckEqual "ColorIndex failure number", Hex(Err.Number), Hex(kUnexpected)
  CheckEqual "ColorIndex failure gives no value", IsEmpty(index), True
  Err.Clear
End Sub

Sub TestLoadBmp()
  Dim o : Set o = NewObject()
  o.ReadFile fixtures & "red24.bmp"
  CheckEqual "Width", o.Width, 40
  CheckEqual "Height", o.Height, 30
  CheckEqual "XDPI", o.XDPI, 72
  CheckEqual "YDPI", o.YDPI, 72
  CheckEqual "ColorDepth", o.ColorDepth, 24
  CheckEqual "FileSize", o.FileSize, fso.GetFile(fixtures & "red24.bmp").Size
  CheckEqual "OriginalImageType", o.OriginalImageType, "bmp"
  CheckEqual "ReadFile leaves Filename", o.Filename, ""
  o.ReadFile "  " & fixtures & "grey8.bmp  "
  CheckEqual "name with spaces around it loads; 8-bit ColorDepth", o.ColorDepth, 8
  CheckEqual "8-bit Width", o.Width, 256
End Sub

Function LoadedFrom(path)
  Dim o : Set o = NewObject()
  o.ReadFile path
  Set LoadedFrom = o
End Function

Sub TestWriteModes()
  Dim o : Set o = NewObject()
  o.ReadFile fixtures & "red24.bmp"
  Dim target : target = output & "copy.bmp"

  o.OverwriteMode = 0 ' owAlways
  o.WriteFile target
  CheckEqual "owAlways writes; Filename", o.Filename, target
  CheckEqual "written BMP reads back", LoadedFrom(target).Width, 40
  CheckEqual "written BMP keeps its resolution", LoadedFrom(target).XDPI, 72

  Dim grey : Set grey = NewObject()
  grey.ReadFile fixtures & "grey8.bmp"
  grey.OverwriteMode = 1 ' owNever
  grey.WriteFile target
  CheckEqual "owNever leaves Filename", grey.Filename, ""
  CheckEqual "owNever leaves the existing file", LoadedFrom(target).ColorDepth, 24

  o.OverwriteMode = 2 ' owRename
  o.WriteFile target
  CheckEqual "owRename picks the first free number", o.Filename, output & "copy~1.bmp"
  o.WriteFile target
  CheckEqual "owRename counts on", o.Filename, output & "copy~2.bmp"
  Check "renamed file exists", fso.FileExists(output & "copy~2.bmp")

  o.OverwriteMode = 0
  o.WriteFile "a.bmp"
  CheckEqual "five-character name is ignored", o.Filename, output & "copy~2.bmp"
  Check "nothing written for the short name", Not fso.FileExists("a.bmp")
End Sub

Sub TestFailures()
  Dim o : Set o = NewObject()
  On Error Resume Next
  o.ReadFile fixtures & "missing.bmp"
  CheckError "missing file", "File not found: missing.bmp"
  o.ReadFile fixtures & "folder.bmp"
  CheckError "folder", "File not found: folder.bmp"
  o.ReadFile fixtures & "empty.bmp"
  CheckError "empty file", "Empty input file or stream."
  o.ReadFile fixtures & "red.pcx"
  CheckError "PCX through ReadFile", "Invalid file type."
  CheckEqual "image empty after a failed load", o.Width, 0
  o.WriteFile output & "nothing.bmp"
  CheckError "WriteFile without an image", "No image loaded in the component."
  o.IgnoreInputFileType = False
  o.ReadFile fixtures & "bmp-named.jpg"
  CheckError "extension checked", "Invalid file type."
  o.IgnoreInputFileType = True
  o.ReadFile fixtures & "bmp-named.jpg"
  CheckEqual "extension ignored", Err.Number, 0
  o.Width = 5
  Check "read-only property refuses a put", Err.Number <> 0
  Err.Clear
End Sub

'' Outside an ASP page there is no Response to stream into: the failure
' carries the system's code for the missing context, not E_UNEXPECTED.
Sub TestStreamOutsideAPage()
  Dim o : Set o = NewObject()
  o.ReadFile fixtures & "red24.bmp"
  On Error Resume Next
  o.StreamToBrowser "bmp"
  CheckEqual "StreamToBrowser outside a page", Err.Description, _
    "The component is not running inside an ASP page: no Response object."
  CheckEqual "StreamToBrowser source", Err.Source, kSource
  Check "StreamToBrowser carries the system's code: " & Hex(Err.Number), Err.Number < 0 And Err.Number <> kUnexpected
  Err.Clear
End Sub

' VBScript passes variables by reference (VT_BYREF | VT_VARIANT): a byte
' array behind the reference is read, but the script's own arrays hold
' VARIANTs and are refused like every value that is no one-dimensional byte
' array, each leaving the object as it was.
Sub TestVariantArguments()
  Dim o : Set o = NewObject()
  o.ReadFile fixtures & "small.bmp"
  On Error Resume Next
  Dim matrix(1, 1)
  Dim i
  Dim refusals : refusals = Array(Array(66, 77), Array(), matrix, Null, Empty, "BM", 5)
  For i = 0 To UBound(refusals)
    o.ReadVariant refusals(i)
    CheckError "ReadVariant of refusal " & i & " (" & TypeName(refusals(i)) & ")", kNotByteArray
    CheckEqual "refusal " & i & " keeps the image", o.Width, 5
  Next
  o.GetDimensionsBin Array(66, 77)
  CheckError "GetDimensionsBin of a VBScript array", kNotByteArray
  o.ReadVariant o.VariantOut("bmp")
  CheckEqual "the refused object still reads a byte array", Err.Number, 0

  Dim out : out = o.VariantOut("bmp")
  CheckEqual "VariantOut lower bound", LBound(out), 1
  CheckEqual "VariantOut upper bound", UBound(out), o.NewFileSize(".BMP")
  Dim back : Set back = NewObject()
  back.ReadVariant out
  CheckEqual "VariantOut bytes read back", back.Width, 5
  Dim text : text = o.Base64Out("Bmp")
  CheckEqual "Base64Out: 4 characters per 3 bytes and a CR LF per 76", Len(text), _
    ((UBound(out) + 2) \ 3) * 4 + (((UBound(out) + 2) \ 3) * 4 \ 76) * 2
  CheckEqual "Base64Out starts with the encoded signature", Left(text, 4), "Qk1m"
  Check "BMPHandle gives a handle", o.BMPHandle <> 0
  Dim refused : refused = o.VariantOut(" bmp")
  CheckError "VariantOut of a name with a space", "Image type specified is not a supported format."
End Sub

' Resolutions convert in the build's extended type: 80-bit x87 in the 32-bit
' DLL, a double in the 64-bit one. These inputs sit so near a half that the
' two round apart (the double of 39.37007874 is 3.3e-15 short of it):
'   24999746 * 39.37007874 = 984241968.50000004: 80 bits keep the excess
'   and round up to 984241969; the double product lands on .5 exactly and
'   rounds to even, 984241968.
'   1968496437 / 39.37007874 = 49999809.4999999992: 80 bits stay under the
'   half, 49999809; the double quotient lands on .5 and rounds to 49999810.
' A 32-bit result equal to the 64-bit one means the x87 unit computed with a
' 53-bit mantissa.
Sub TestResolutionPrecision()
  Dim o : Set o = NewObject()
  Dim dpm, dpi
  If bits = "32" Then dpm = 984241969 : dpi = 49999809 Else dpm = 984241968 : dpi = 49999810
  CheckEqual "DPItoDPM(24999746) near a half", o.DPItoDPM(24999746), dpm
  CheckEqual "DPMtoDPI(1968496437) near a half", o.DPMtoDPI(1968496437), dpi
  ' The BMP reader converts its pixels per metre the same way.
  o.ReadFile fixtures & "precise_dpm.bmp"
  CheckEqual "XDPI of a BMP at 1968496437 pixels per metre", o.XDPI, dpi
  CheckEqual "YDPI of a BMP at 1968496437 pixels per metre", o.YDPI, dpi
End Sub

'' An image goes out and comes back in through each channel unchanged, byte
' for byte: the Base64 text of the written BMP (a one-to-one encoding of its
' bytes) is compared, since indexing byte arrays is unreliable in Wine's
' VBScript.
Sub TestInputRoundTrips()
  Dim source : Set source = NewObject()
  source.ReadFile fixtures & "grey8.bmp"
  Dim expected : expected = source.Base64Out("bmp")
  Dim o : Set o = NewObject()
  o.ReadVariant source.VariantOut("bmp")
  Check "ReadVariant(VariantOut) round trip", o.Base64Out("bmp") = expected
  Set o = NewObject()
  o.Base64In source.Base64Out("bmp")
  Check "Base64In(Base64Out) round trip", o.Base64Out("bmp") = expected
  Set o = NewObject()
  o.Base64In "data:image/bmp;base64," & source.Base64Out("bmp")
  Check "Base64In of a data URL", o.Base64Out("bmp") = expected
  Set o = NewObject()
  o.BMPHandle = source.BMPHandle
  Check "BMPHandle round trip", o.Base64Out("bmp") = expected
  CheckEqual "BMPHandle round trip ColorDepth", o.ColorDepth, 8
  On Error Resume Next
  o.BMPHandle = 0
  CheckEqual "BMPHandle put of 0 succeeds", Err.Number, 0
  CheckEqual "BMPHandle put of 0 leaves an empty image", o.Width, 0
  o.Base64In "data:image/png;base64,"
  CheckError "Base64In of a bare prefix", "Empty input file or stream."
End Sub

' Rotate takes a single-precision float: integers, doubles and numeric text
' are coerced on the way in; other text is a type mismatch.
Sub TestFloatArgument()
  Dim o : Set o = NewObject()
  o.ReadFile fixtures & "red24.bmp"
  On Error Resume Next
  Dim angle
  For Each angle In Array(90, 45.5, "30")
    Err.Clear
    o.Rotate angle
    Check "Rotate(" & angle & ") reaches the member: " & Err.Description, Err.Number = 0 Or Pending()
  Next
  Err.Clear
  o.Rotate "abc"
  CheckEqual "Rotate of text is a type mismatch", Err.Number, 13
  Err.Clear
End Sub

' A camera-sized progressive JPEG with a JFIF density: its header facts read
' back, made a thumbnail (while Resize is pending, the full image is written)
' and written at quality 90. The size Pillow must find in the written file
' goes first into a ".size" file beside it, which tools/script-tests checks.
Sub TestCameraJpeg()
  Dim o : Set o = NewObject()
  o.ReadFile fixtures & "camera.jpg"
  CheckEqual "camera JPEG Width", o.Width, 4000
  CheckEqual "camera JPEG Height", o.Height, 3000
  CheckEqual "camera JPEG XDPI", o.XDPI, 300
  CheckEqual "camera JPEG YDPI", o.YDPI, 300
  CheckEqual "camera JPEG ProgressiveJpeg", o.ProgressiveJpeg, True
  Dim expected : expected = "4000 3000"
  On Error Resume Next
  o.Resize 800, 0
  If Err.Number = 0 Then
    expected = "800 600"
  Else
    Check "Resize(800, 0): " & Err.Description, Pending()
  End If
  Err.Clear
  On Error GoTo 0
  CheckEqual "thumbnail size", o.Width & " " & o.Height, expected
  Dim target : target = output & "thumbnail.jpg"
  fso.CreateTextFile(target & ".size", True).Write expected
  o.JpegQuality = 90
  o.ProgressiveJpeg = False
  o.WriteFile target
  CheckEqual "thumbnail written", fso.FileExists(target), True
End Sub

TestPropertyKinds
TestDirectResults
TestLoadBmp
TestWriteModes
TestFailures
TestStreamOutsideAPage
TestVariantArguments
TestInputRoundTrips
TestResolutionPrecision
TestFloatArgument
TestCameraJpeg
WScript.Echo passed & " passed, " & failed & " failed"
