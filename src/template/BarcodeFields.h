// The barcode block's bits, described once: which control of which page or dialog edits which bits.
#pragma once

#include <span>
#include <string_view>

#include "template/Template.h"

namespace k52 {

enum class BarcodeControl { CheckBox, RadioGroup, List, Edit };

struct BarcodeField {
    std::string_view owner;  // "BarcodeSettingsPage" or the dialog's name
    int controlId;           // for a radio group, the id of its first button
    BarcodeControl control;
    int byte;      // 0..23
    int firstBit;  // lowest bit of the field (0..7)
    int width;     // number of bits
    int buttons;   // radio group: number of buttons (consecutive ids); otherwise 1
};

std::span<const BarcodeField> BarcodeFields();

// The fields one page or dialog edits, in table order.
std::span<const BarcodeField> BarcodeFieldsOf(std::string_view owner);
const BarcodeField* FindBarcodeField(std::string_view owner, int controlId);

int ReadBarcodeField(const BarcodeSettings& b, const BarcodeField& f);
// Read-modify-write: only the field's bits change.
void WriteBarcodeField(BarcodeSettings& b, const BarcodeField& f, int value);

}  // namespace k52
