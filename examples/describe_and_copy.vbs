' A first PixmarlKit client, written as a classic ASP page script would be:
' create the object by its ProgID, load an image, report what the component
' found in it, and write it back under a new name without overwriting
' anything that is already there.
'   cscript //nologo describe_and_copy.vbs <image> <output folder>
Option Explicit

Dim source, folder, image
source = WScript.Arguments(0)
folder = WScript.Arguments(1)

Set image = CreateObject("PixmarlKit.ImageFunctions")
WScript.Echo "Component: " & image.Version

On Error Resume Next
image.ReadFile source
If Err.Number <> 0 Then
  WScript.Echo "Could not load " & source & ": " & Err.Description & " (" & Err.Source & ")"
  WScript.Quit 1
End If
On Error GoTo 0

WScript.Echo "Loaded " & source
WScript.Echo "  type:        " & image.OriginalImageType
WScript.Echo "  size:        " & image.Width & " x " & image.Height & " pixels"
WScript.Echo "  colours:     " & image.ColorDepth & " bits per pixel"
WScript.Echo "  resolution:  " & image.XDPI & " x " & image.YDPI & " dpi"
WScript.Echo "  file size:   " & image.FileSize & " bytes"

' owRename: an existing copy.bmp is kept and copy~1.bmp, copy~2.bmp... written.
image.OverwriteMode = 2
image.WriteFile folder & "\copy.bmp"
WScript.Echo "Wrote " & image.Filename
