// Test labels for the scanner settings: for every enabled symbology one label the terminal must read,
// within its lengths and with the check digit it verifies, and deliberately wrong ones it must refuse
// (too short, too long, a wrong or missing check digit, a symbology switched off). Drawn by libzint.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "paper/Symbologies.h"

namespace k52 {

enum class LabelFault {
    None,           // the terminal reads it
    TooShort,       // below the symbology's shortest length
    TooLong,        // above its longest
    WrongLength,    // fixed lengths: neither of the two
    BadCheckDigit,  // the check digit the terminal verifies is wrong
    NoCheckDigit,   // the check digit the terminal verifies is missing
    Disabled,       // a symbology the terminal does not decode
};

struct TestLabel {
    Symbology symbology;
    LabelFault fault = LabelFault::None;
    int zintSymbology = 0;  // BARCODE_...
    int zintCheck = 0;      // option_2: how libzint adds check digits
    std::string data;       // what is encoded, without the check digits libzint adds
    std::string name;       // the symbology's name, with the form drawn when it differs ("Code 39 (French)")
};

// The labels of a template's barcode settings: the good ones first, then the wrong ones.
std::vector<TestLabel> TestLabelsOf(const BarcodeSettings& b);

// The label's caption in the chosen language: "Code 39: read" or "MSI: refused (no check digit)".
std::string LabelCaption(const TestLabel& label);

// One label drawn: its bars as rectangles in millimetres from its top left.
struct LabelDrawing {
    struct Bar {
        double x, y, width, height;
    };
    double width = 0, height = 0;
    std::vector<Bar> bars;
    std::string text;  // what is printed under the bars (the data, with its check digits)
};
// Empty, with libzint's words in `error`, when the library refuses the data.
std::optional<LabelDrawing> DrawLabel(const TestLabel& label, std::string* error = nullptr);

// The sheet of labels as SVG, or as PDF, A4, captioned in the chosen language.
std::string LabelSheetSvg(const std::vector<TestLabel>& labels, const std::string& title);
std::string LabelSheetPdf(const std::vector<TestLabel>& labels, const std::string& title);

// A label alone as a PNG file (libzint's raster output), for a reader that reads pictures.
bool WriteLabelPng(const TestLabel& label, const std::string& path, std::string* error = nullptr);

}  // namespace k52
