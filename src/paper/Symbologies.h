// The fourteen symbologies the terminal decodes, as the barcode page lists them: where each one's
// switch lies in the barcode block, and its length limits where it has any.
#pragma once

#include <span>
#include <string_view>

#include "template/Template.h"

namespace k52 {

enum class Symbology {
    Code39,
    ItalyPharma,
    FrenchPharma,
    Industrial25,
    Interleave25,
    Matrix25,
    Codabar,
    Msi,
    Plessey,
    Code93,
    Code128,
    Upce,
    Ean8,
    Ean13Upca,
};

struct SymbologyInfo {
    Symbology symbology;
    std::string_view name;  // the barcode page's label
    int byte;               // the switch: byte and bit of the barcode block
    int bit;
    LengthPair BarcodeSettings::*lengths;  // nullptr when the symbology has no length setting
};

std::span<const SymbologyInfo> Symbologies();
bool Enabled(const BarcodeSettings& b, const SymbologyInfo& s);
bool Bit(const BarcodeSettings& b, int byte, int bit);

// The lengths a length pair accepts: [min, max] in max/min mode, or the two fixed lengths.
struct LengthRule {
    bool fixed = false;
    int a = 0;  // max/min mode: the maximum; fixed: the first length
    int b = 0;  // max/min mode: the minimum; fixed: the second length
    bool Accepts(int length) const { return fixed ? length == a || length == b : length >= b && length <= a; }
};
LengthRule LengthRuleOf(const LengthPair& pair);

}  // namespace k52
