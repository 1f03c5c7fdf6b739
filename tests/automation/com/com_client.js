// The COM server driven from JScript, as an ASP page in JScript drives it:
// every property walked by name (o[name] goes through GetIDsOfNames and
// Invoke), the defaults of a new object, failures caught with their
// description and number, the direct-result members, and a BMP loaded and
// written. Run by tools/script-tests and tools/test-x86:
//   cscript //nologo com_client.js <fixture folder> <output folder> <32|64>
// where the last argument is the bitness of the DLL under test.
// Prints one line per failed check and "N passed, N failed".
var passed = 0, failed = 0;
var fixtures = WScript.Arguments(0) + "\\";
var output = WScript.Arguments(1) + "\\";
var bits = WScript.Arguments(2);
var E_UNEXPECTED = 0x8000FFFF | 0;

function check(name, condition) {
  if (condition) {
    passed++;
  } else {
    failed++;
    WScript.Echo("FAILED: " + name);
  }
}

function checkEqual(name, got, expected) {
  check(name + " (got [" + got + "], expected [" + expected + "])", got === expected);
}

// Runs action, which must fail with this description and E_UNEXPECTED.
// "Not implemented yet." stands in for members still being built.
function checkFailure(name, action, description) {
  try {
    action();
    check(name + ": no error", false);
  } catch (e) {
    check(name + ": description [" + e.description + "]",
          e.description === description || e.description === "Not implemented yet.");
    checkEqual(name + ": number", e.number, E_UNEXPECTED);
  }
}

function newObject() { return new ActiveXObject("PixmarlKit.ImageFunctions"); }

function testDefaults() {
  var o = newObject();
  var defaults = {
    Width: 0, Height: 0, ColorDepth: 24, JpegQuality: 90, OverwriteChr: "~", IgnoreInputFileType: true,
    TextSize: 16, TransparentColor: "FFFFFF", TextBG: "FFFFFF", BackgroundColor: "FFFFFF",
    TextColor: "000000", OriginalImageType: "", Test: "", HasAlpha: false, Tile: false, TextOpaque: true,
    OverwriteMode: 0, CompressionType: 0, TextJustify: 0, Filename: "", FileSize: 0, KeepAlpha: false,
    HasBackground: false, ReadWidth: 0, ReadHeight: 0, WasCMYK: false, XDPI: 0, YDPI: 0,
    ExtraAlphaValue: 0, Antialias: false, Transparent: false, Transpercent: 0, TextAngle: 0
  };
  for (var name in defaults) checkEqual("default " + name, o[name], defaults[name]);
  check("Version: " + o.Version, o.Version.indexOf("PixmarlKit") >= 0 && o.Version.indexOf("(" + bits + " bit)") > 0);
}

function testEveryProperty() {
  var o = newObject();
  var booleans = ["Antialias", "IgnoreInputFileType", "JpegGrayscale", "JpegHigherSpeed", "ProgressiveJpeg",
                  "Resample", "TextBold", "TextItalic", "TextUnderline", "TextStrikeout", "TextOpaque",
                  "TextWrap", "Tile", "Transparent"];
  for (var i = 0; i < booleans.length; i++) {
    o[booleans[i]] = true;
    checkEqual(booleans[i] + " true", o[booleans[i]], true);
    o[booleans[i]] = false;
    checkEqual(booleans[i] + " false", o[booleans[i]], false);
  }
  var longs = ["XDPI", "YDPI", "JpegQuality", "TextAngle", "TextHeight", "TextRectX", "TextRectY", "TextSize",
               "TextTranspercent", "Transpercent", "OverwriteMode", "CompressionType", "TextJustify"];
  for (i = 0; i < longs.length; i++) {
    o[longs[i]] = -123456;
    checkEqual(longs[i] + " stored unchecked", o[longs[i]], -123456);
  }
  var colours = ["BackgroundColor", "TextBG", "TextColor", "TransparentColor"];
  for (i = 0; i < colours.length; i++) {
    o[colours[i]] = "$80ff00";
    checkEqual(colours[i] + " $80ff00", o[colours[i]], "80FF00");
    o[colours[i]] = "not a colour";
    checkEqual(colours[i] + " keeps its value", o[colours[i]], "80FF00");
  }
  o.TextFont = "Tahoma";
  checkEqual("TextFont", o.TextFont, "Tahoma");
  o.Tile = 1;
  checkEqual("Tile from a number", o.Tile, true);
}

function testDirectResults() {
  var o = newObject();
  checkEqual("OLEColorToStr returns a string", typeof o.OLEColorToStr(255), "string");
  checkEqual("OLEColorToStr(255)", o.OLEColorToStr(255), "FF0000");
  checkEqual("StrToOLEColor(#FF8000)", o.StrToOLEColor("#FF8000"), 33023);
  // Near a half the 80-bit x87 arithmetic of the 32-bit DLL and the double
  // of the 64-bit one round apart (worked out in com_client.vbs).
  checkEqual("DPItoDPM(24999746)", o.DPItoDPM(24999746), bits === "32" ? 984241969 : 984241968);
  checkEqual("DPMtoDPI(1968496437)", o.DPMtoDPI(1968496437), bits === "32" ? 49999809 : 49999810);
  checkFailure("FindUnusedColor without an image", function () { o.FindUnusedColor(); }, "No image loaded.");
  checkFailure("ColorIndex without an image", function () { o.ColorIndex("000000"); }, "No image loaded.");
}

function testFileRoad() {
  var o = newObject();
  checkFailure("missing file", function () { o.ReadFile(fixtures + "missing.bmp"); }, "File not found: missing.bmp");
  checkFailure("no image to write", function () { o.WriteFile(output + "none.bmp"); },
               "No image loaded in the component.");
  o.ReadFile(fixtures + "red24.bmp");
  checkEqual("Width", o.Width, 40);
  checkEqual("Height", o.Height, 30);
  checkEqual("XDPI", o.XDPI, 72);
  o.WriteFile(output + "from-js.bmp");
  checkEqual("Filename", o.Filename, output + "from-js.bmp");
  var back = newObject();
  back.ReadFile(output + "from-js.bmp");
  checkEqual("written file reads back", back.Height, 30);
  // JScript passes numbers by value: a double reaches the float parameter.
  try {
    o.Rotate(12.5);
    passed++;
  } catch (e) {
    check("Rotate(12.5) reaches the member: " + e.description, e.description === "Not implemented yet.");
  }
}

// Names cross as UTF-16 all the way to the file system (the test is here
// because Wine's VBScript has no ChrW).
function testUnicodeNames() {
  var name = "gr" + String.fromCharCode(0xFC, 0x4E2D) + ".bmp";
  var o = newObject();
  o.ReadFile(fixtures + name);
  checkEqual("non-ASCII name loads", o.Width, 40);
  o.WriteFile(output + "copy-" + name);
  checkEqual("non-ASCII name written", o.Filename, output + "copy-" + name);
  var back = newObject();
  back.ReadFile(output + "copy-" + name);
  checkEqual("non-ASCII copy reads back", back.Height, 30);
  checkFailure("non-ASCII missing name", function () { o.ReadFile(fixtures + "missing-" + name); },
               "File not found: missing-" + name);
}

testDefaults();
testEveryProperty();
testDirectResults();
testFileRoad();
testUnicodeNames();
WScript.Echo(passed + " passed, " + failed + " failed");
