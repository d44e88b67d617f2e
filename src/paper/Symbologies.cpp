// The symbology list of the barcode page, shared by the design sheet and the test labels.
#include "paper/Symbologies.h"

namespace k52 {

namespace {
constexpr SymbologyInfo kSymbologies[] = {
    {Symbology::Code39, "Code 39", 0, 7, nullptr},
    {Symbology::ItalyPharma, "Italy Pharmacode", 0, 6, nullptr},
    {Symbology::FrenchPharma, "French Pharmacode", 0, 5, nullptr},
    {Symbology::Industrial25, "Industrial 25", 0, 4, &BarcodeSettings::industrial25Lengths},
    {Symbology::Interleave25, "Interleave 25", 0, 3, &BarcodeSettings::interleave25Lengths},
    {Symbology::Matrix25, "Matrix 25", 0, 2, &BarcodeSettings::matrix25Lengths},
    {Symbology::Codabar, "Codabar", 0, 1, nullptr},
    {Symbology::Msi, "MSI", 2, 5, &BarcodeSettings::msiLengths},
    {Symbology::Plessey, "Plessey", 2, 4, nullptr},
    {Symbology::Code93, "Code 93", 0, 0, nullptr},
    {Symbology::Code128, "Code 128", 1, 7, nullptr},
    {Symbology::Upce, "UPCE", 1, 6, nullptr},
    {Symbology::Ean8, "EAN8", 1, 3, nullptr},
    {Symbology::Ean13Upca, "EAN13 & UPCA", 1, 0, nullptr},
};
}  // namespace

std::span<const SymbologyInfo> Symbologies() {
    return kSymbologies;
}

bool Bit(const BarcodeSettings& b, int byte, int bit) {
    return (b.bytes()[byte] >> bit) & 1;
}

bool Enabled(const BarcodeSettings& b, const SymbologyInfo& s) {
    return Bit(b, s.byte, s.bit);
}

LengthRule LengthRuleOf(const LengthPair& pair) {
    return {pair.lengthMode() == 0, pair.length1(), pair.length2};
}

}  // namespace k52
