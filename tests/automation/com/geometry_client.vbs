' The geometry and colour members as a page's VBScript drives them: crop
' (beyond the edges), resize, fit, scale, flips, grey, negative and colour
' depth, checking sizes, ColorDepth, the palette members and a few pixels of
' the image written by Base64Out("bmp"), and the failures of computed sizes.
' Run by tools/script-tests:
'   cscript //nologo geometry_client.vbs <fixture folder> <output folder>
' Prints one line per failed check and "N passed, N failed".
Option Explicit

Const kSource = "PixmarlKit.ImageFunctions"
Dim passed, failed, fixtures
passed = 0 : failed = 0
fixtures = WScript.Arguments(0) & "\"

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

Sub CheckError(name, description)
  CheckEqual name & ": description", Err.Description, description
  CheckEqual name & ": source", Err.Source, kSource
  Err.Clear
End Sub

' Base64 text to its bytes as hexadecimal text, two digits a byte: Wine's
' VBScript crashes on ReDim of a dynamic array.
Function DecodeBase64(text)
  Const kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
  Dim digits, bits, value, i, pos
  digits = "" : bits = 0 : value = 0
  For i = 1 To Len(text)
    pos = InStr(kAlphabet, Mid(text, i, 1))
    If pos > 0 Then
      value = (value * 64 + pos - 1) Mod 65536
      bits = bits + 6
      If bits >= 8 Then
        bits = bits - 8
        digits = digits & Right("0" & Hex((value \ (2 ^ bits)) And 255), 2)
      End If
    End If
  Next
  DecodeBase64 = digits
End Function

Function ByteAt(digits, offset)
  ByteAt = CLng("&H" & Mid(digits, 2 * offset + 1, 2))
End Function

Function Word32(bytes, offset)
  Word32 = ByteAt(bytes, offset) + ByteAt(bytes, offset + 1) * 256 + ByteAt(bytes, offset + 2) * 65536 + ByteAt(bytes, offset + 3) * 16777216
End Function

' The colour text (RRGGBB) of pixel (x, y) of a bottom-up 8- or 24-bit BMP,
' paletted pixels through the colour table.
Function BmpPixel(bytes, x, y)
  Dim data, width, height, bits, stride, at, index
  data = Word32(bytes, 10) : width = Word32(bytes, 18) : height = Word32(bytes, 22)
  bits = ByteAt(bytes, 28) + ByteAt(bytes, 29) * 256
  stride = ((width * bits + 31) \ 32) * 4
  at = data + (height - 1 - y) * stride
  If bits = 24 Then
    at = at + 3 * x
  Else
    index = ByteAt(bytes, at + x)
    at = 14 + Word32(bytes, 14) + 4 * index
  End If
  BmpPixel = Right("0" & Hex(ByteAt(bytes, at + 2)), 2) & Right("0" & Hex(ByteAt(bytes, at + 1)), 2) & Right("0" & Hex(ByteAt(bytes, at)), 2)
End Function

' The written image's pixels, when Base64Out is there to write it.
Sub CheckPixels(o, name, xs, ys, colours)
  Dim text, bytes, i
  On Error Resume Next
  text = o.Base64Out("bmp")
  If Err.Number <> 0 Then
    Check name & ": Base64Out: " & Err.Description, Err.Description = "Not implemented yet."
    Err.Clear
    Exit Sub
  End If
  On Error GoTo 0
  bytes = DecodeBase64(text)
  For i = 0 To UBound(xs)
    CheckEqual name & " pixel " & xs(i) & "," & ys(i), BmpPixel(bytes, xs(i), ys(i)), colours(i)
  Next
End Sub

Sub CheckSize(o, name, width, height, depth)
  CheckEqual name & " width", o.Width, width
  CheckEqual name & " height", o.Height, height
  CheckEqual name & " ColorDepth", o.ColorDepth, depth
End Sub

Sub TestGeometry()
  Dim o : Set o = CreateObject(kSource)
  o.ReadFile fixtures & "red24.bmp"
  CheckSize o, "loaded", 40, 30, 24
  o.TransparentColor = "00FF00"
  o.Crop -10, 0, 10, 10
  CheckSize o, "Crop(-10, 0, 10, 10)", 20, 10, 24
  CheckPixels o, "cropped", Array(0, 9, 10, 19), Array(0, 9, 0, 9), Array("00FF00", "00FF00", "FF0000", "FF0000")
  o.Crop 15, 10, 5, 0
  CheckSize o, "Crop(15, 10, 5, 0)", 10, 10, 24
  o.FlipY
  CheckPixels o, "FlipY", Array(0, 9), Array(0, 0), Array("FF0000", "00FF00")
  o.FlipX
  o.FlipY
  o.FlipX
  o.Resize 100, 0
  CheckSize o, "Resize(100, 0)", 100, 100, 24
  o.Resample = True
  o.ResizeFit 50, 80
  CheckSize o, "ResizeFit(50, 80)", 50, 50, 24
  o.Scale 50
  CheckSize o, "Scale(50)", 25, 25, 24
  o.Resize -5, 10
  CheckSize o, "Resize(-5, 10)", 10, 10, 24
  o.Grayscale
  CheckSize o, "Grayscale", 10, 10, 8
  CheckEqual "Grayscale: JpegGrayscale", o.JpegGrayscale, True
  CheckEqual "grey of green", o.ColorIndex("555555"), 85
  CheckPixels o, "Grayscale", Array(0), Array(0), Array("555555")
  o.Invert
  CheckEqual "Invert: palette entry 85", o.PaletteEntry(85), "AAAAAA"
  CheckPixels o, "Invert", Array(0), Array(0), Array("AAAAAA")
  o.ColorDepth = 1
  CheckSize o, "ColorDepth = 1", 10, 10, 1
  CheckEqual "PaletteSize at 1 bit", o.PaletteSize, 2
  CheckEqual "JpegGrayscale after ColorDepth", o.JpegGrayscale, False
  o.ColorDepth = 16
  CheckSize o, "ColorDepth = 16", 10, 10, 24
  CheckEqual "PaletteSize at 24 bits", o.PaletteSize, 0
  o.ReadFile fixtures & "red24.bmp"
  o.ColorDepth = 8
  CheckSize o, "ColorDepth = 8", 40, 30, 8
  CheckEqual "the one colour kept exactly", o.PaletteEntry(0), "FF0000"
  CheckPixels o, "ColorDepth = 8", Array(39), Array(29), Array("FF0000")
End Sub

Sub TestFailures()
  Dim o : Set o = CreateObject(kSource)
  Dim result
  On Error Resume Next
  result = o.FindUnusedColor()
  CheckError "FindUnusedColor without an image", "No image loaded."
  result = o.PaletteSize
  CheckError "PaletteSize without an image", "No image loaded."
  o.ReadFile fixtures & "red24.bmp"
  o.Resize 1, 0
  CheckError "Resize(1, 0)", "Division by zero"
  o.ResizeFit 0, 5
  CheckError "ResizeFit(0, 5)", "MaxWidth or MaxHeight must not be zero."
  o.Scale 2147483647
  Check "Scale past the size limit fails: " & Err.Description, Err.Number <> 0
  Err.Clear
  CheckEqual "the image is kept", o.Width, 40
  On Error GoTo 0
End Sub

' The overlay's red corner is its transparent colour; grey shows through.
Sub TestMergeBack()
  Dim o : Set o = CreateObject(kSource)
  o.NewImage 7, 5, "646464"
  o.Transparent = True
  o.TransparentColor = "FF0000"
  o.MergeBack fixtures & "overlay.bmp", 2, 1
  CheckSize o, "MergeBack", 7, 5, 24
  CheckPixels o, "MergeBack at (2, 1)", Array(1, 2, 3, 4, 5, 2), Array(1, 1, 1, 2, 1, 3), _
    Array("646464", "646464", "0000FF", "0000FF", "646464", "646464")
  o.NewImage 7, 5, "646464"
  o.Tile = True
  o.MergeBack fixtures & "overlay.bmp", 2, 1
  CheckPixels o, "MergeBack tiled", Array(0, 1, 3, 0, 5, 6), Array(0, 0, 0, 1, 4, 4), _
    Array("646464", "0000FF", "646464", "0000FF", "0000FF", "646464")
  ' The same overlay as a byte array, and as a script's array, which is refused.
  Dim source : Set source = CreateObject(kSource)
  source.ReadFile fixtures & "overlay.bmp"
  o.Tile = False
  o.NewImage 7, 5, "646464"
  o.MergeBackBin source.VariantOut("bmp"), 4, 3
  CheckPixels o, "MergeBackBin at (4, 3)", Array(4, 5, 6, 3), Array(3, 3, 4, 3), _
    Array("646464", "0000FF", "0000FF", "646464")
  On Error Resume Next
  o.MergeBackBin Array(66, 77), 0, 0
  CheckError "MergeBackBin of a script's array", "Invalid variant: a one-dimensional byte array is expected."
  On Error GoTo 0
  o.MergeFrontBin source.VariantOut("bmp"), 0, 0
  CheckSize o, "MergeFrontBin", 3, 2, 24
End Sub

' Handles of the object's own bitmaps are taken over; 0 and a spent handle
' fail and keep the image.
Sub TestMergeHandles()
  Dim source : Set source = CreateObject(kSource)
  source.ReadFile fixtures & "overlay.bmp"
  Dim o : Set o = CreateObject(kSource)
  o.NewImage 6, 4, "646464"
  Dim handle : handle = source.BMPHandle
  o.MergeBackHDC handle, 1, 1
  CheckPixels o, "MergeBackHDC", Array(0, 1, 2, 3), Array(0, 1, 1, 2), Array("646464", "FF0000", "0000FF", "0000FF")
  o.MergeFrontHDC source.BMPHandle, 1, 0
  CheckSize o, "MergeFrontHDC", 3, 2, 24
  CheckPixels o, "MergeFrontHDC", Array(0, 1, 2, 0), Array(0, 0, 1, 1), Array("FF0000", "646464", "FF0000", "0000FF")
  On Error Resume Next
  o.MergeBackHDC 0, 0, 0
  CheckError "MergeBackHDC(0)", "Invalid bitmap handle."
  o.MergeFrontHDC handle, 0, 0
  CheckError "MergeFrontHDC of a spent handle", "Invalid bitmap handle."
  On Error GoTo 0
  CheckSize o, "after invalid handles", 3, 2, 24
End Sub

' The first and last x of a row's pixels that are not the background.
Function InkSpan(bytes, width, y)
  Dim x, first, last
  first = -1 : last = -1
  For x = 0 To width - 1
    If BmpPixel(bytes, x, y) <> "646464" Then
      If first < 0 Then first = x
      last = x
    End If
  Next
  InkSpan = Array(first, last)
End Function

' Two lines on a yellow box: the short first line starts at the block's left
' edge, ends at its right edge, or lies in between; the second line spans the
' block; rows and columns outside it stay grey. Both colours get palette
' entries of their own on the 8-bit image.
Sub TestText()
  Dim depth, justify, o, bytes, short, long, name
  For Each depth In Array(24, 8)
    For Each justify In Array(0, 1, 2)
      name = "Text " & depth & " bits, TextJustify " & justify
      Set o = CreateObject(kSource)
      o.NewImage 90, 34, "646464"
      o.ColorDepth = depth
      o.TextSize = 10
      o.TextBG = "FFFF00"
      o.TextColor = "0000FF"
      o.TextJustify = justify
      o.Text 6, 2, "Ab" & vbCrLf & "Abcdefgh"
      CheckSize o, name, 90, 34, depth
      If depth = 8 Then CheckEqual name & ": box colour in the palette", o.ColorIndex("FFFF00") >= 0, True
      bytes = DecodeBase64(o.Base64Out("bmp"))
      short = InkSpan(bytes, 90, 4)
      long = InkSpan(bytes, 90, 20)
      CheckEqual name & ": second line starts at X", long(0), 6
      Check name & ": first line drawn (" & short(0) & ".." & short(1) & ")", short(0) >= 6 And short(1) > short(0)
      Select Case justify
        Case 0: CheckEqual name & ": left", short(0), 6
        Case 1: Check name & ": centred", short(0) > 6 And short(1) < long(1)
        Case 2: CheckEqual name & ": right", short(1), long(1)
      End Select
      CheckEqual name & ": box colour", BmpPixel(bytes, short(0), 2), "FFFF00"
      CheckPixels o, name & " outside", Array(5, 0, 89, 0), Array(4, 1, 20, 33), _
        Array("646464", "646464", "646464", "646464")
    Next
  Next
End Sub

TestGeometry
TestFailures
TestMergeBack
TestMergeHandles
TestText
WScript.Echo passed & " passed, " & failed & " failed"
