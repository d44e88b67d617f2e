// The barcode block's bit table and reading and writing one field of it.
#include "template/BarcodeFields.h"

#include <array>

namespace k52 {
namespace {

constexpr auto C = BarcodeControl::CheckBox;
constexpr auto R = BarcodeControl::RadioGroup;
constexpr auto L = BarcodeControl::List;
constexpr auto E = BarcodeControl::Edit;

// Grouped by owner, so that each owner's fields form one contiguous run.
constexpr std::array<BarcodeField, 68> kFields{{
    {"BarcodeSettingsPage", 101, C, 0, 7, 1, 1},   // Code 39
    {"BarcodeSettingsPage", 102, C, 0, 6, 1, 1},   // Italy Pharmacode
    {"BarcodeSettingsPage", 103, C, 0, 5, 1, 1},   // French Pharmacode
    {"BarcodeSettingsPage", 104, C, 0, 4, 1, 1},   // Industrial 25
    {"BarcodeSettingsPage", 105, C, 0, 3, 1, 1},   // Interleave 25
    {"BarcodeSettingsPage", 106, C, 0, 2, 1, 1},   // Matrix 25
    {"BarcodeSettingsPage", 107, C, 0, 1, 1, 1},   // Codabar
    {"BarcodeSettingsPage", 108, C, 2, 5, 1, 1},   // MSI
    {"BarcodeSettingsPage", 109, C, 2, 4, 1, 1},   // Plessey
    {"BarcodeSettingsPage", 110, C, 0, 0, 1, 1},   // Code 93
    {"BarcodeSettingsPage", 111, C, 1, 7, 1, 1},   // Code 128
    {"BarcodeSettingsPage", 113, C, 1, 6, 1, 1},   // UPCE
    {"BarcodeSettingsPage", 114, C, 1, 5, 1, 1},   // UPCE Addon 2
    {"BarcodeSettingsPage", 115, C, 1, 4, 1, 1},   // UPCE Addon 5
    {"BarcodeSettingsPage", 116, C, 1, 3, 1, 1},   // EAN8
    {"BarcodeSettingsPage", 117, C, 1, 2, 1, 1},   // EAN8 Addon 2
    {"BarcodeSettingsPage", 118, C, 1, 1, 1, 1},   // EAN8 Addon 5
    {"BarcodeSettingsPage", 119, C, 1, 0, 1, 1},   // EAN13 & UPCA
    {"BarcodeSettingsPage", 120, C, 2, 7, 1, 1},   // EAN13 Addon 2
    {"BarcodeSettingsPage", 121, C, 2, 6, 1, 1},   // EAN13 Addon 5
    {"BarcodeSettingsPage", 122, C, 11, 4, 1, 1},  // read reverse
    {"BarcodeSettingsPage", 701, L, 20, 4, 4, 1},  // scan mode
    {"BarcodeSettingsPage", 702, L, 11, 2, 2, 1},  // redundancy
    {"BarcodeSettingsPage", 601, E, 21, 0, 8, 1},  // scan time-out

    {"Code39Dlg", 101, C, 5, 7, 1, 1},
    {"Code39Dlg", 102, C, 5, 6, 1, 1},
    {"Code39Dlg", 103, C, 5, 5, 1, 1},
    {"Code39Dlg", 104, C, 5, 4, 1, 1},

    {"ItalyPharmaDlg", 101, C, 5, 3, 1, 1},
    {"FrenchPharmaDlg", 101, C, 5, 2, 1, 1},

    {"Industrial25Dlg", 401, R, 6, 0, 2, 3},
    {"Industrial25Dlg", 101, C, 6, 7, 1, 1},
    {"Industrial25Dlg", 102, C, 6, 6, 1, 1},
    {"Industrial25Dlg", 404, R, 12, 7, 1, 2},
    {"Industrial25Dlg", 601, E, 12, 0, 7, 1},
    {"Industrial25Dlg", 602, E, 13, 0, 8, 1},

    {"Interleave25Dlg", 401, R, 6, 2, 2, 3},
    {"Interleave25Dlg", 101, C, 5, 1, 1, 1},
    {"Interleave25Dlg", 102, C, 5, 0, 1, 1},
    {"Interleave25Dlg", 404, R, 14, 7, 1, 2},
    {"Interleave25Dlg", 601, E, 14, 0, 7, 1},
    {"Interleave25Dlg", 602, E, 15, 0, 8, 1},

    {"Matrix25Dlg", 401, R, 7, 6, 2, 3},
    {"Matrix25Dlg", 101, C, 6, 5, 1, 1},
    {"Matrix25Dlg", 102, C, 6, 4, 1, 1},
    {"Matrix25Dlg", 404, R, 16, 7, 1, 2},
    {"Matrix25Dlg", 601, E, 16, 0, 7, 1},
    {"Matrix25Dlg", 602, E, 17, 0, 8, 1},

    // Codabar's five buttons map onto two fields: 401 "none" clears the transmit flag, 402..405 set it
    // and choose the form.
    {"CodabarDlg", 401, R, 7, 3, 1, 5},
    {"CodabarDlg", 402, R, 7, 4, 2, 4},

    {"MSIDlg", 401, R, 9, 6, 2, 3},
    {"MSIDlg", 404, R, 9, 4, 2, 3},
    {"MSIDlg", 407, R, 18, 7, 1, 2},
    {"MSIDlg", 601, E, 18, 0, 7, 1},
    {"MSIDlg", 602, E, 19, 0, 8, 1},

    {"PlesseyDlg", 101, C, 9, 2, 1, 1},
    {"PlesseyDlg", 102, C, 9, 3, 1, 1},

    {"UPCEDlg", 101, C, 9, 1, 1, 1},
    {"UPCEDlg", 102, C, 10, 1, 1, 1},
    {"UPCEDlg", 103, C, 10, 5, 1, 1},

    {"EAN8Dlg", 101, C, 11, 7, 1, 1},
    {"EAN8Dlg", 102, C, 10, 3, 1, 1},

    {"EAN13Dlg", 101, C, 10, 7, 1, 1},
    {"EAN13Dlg", 102, C, 10, 6, 1, 1},
    {"EAN13Dlg", 103, C, 10, 2, 1, 1},
    {"EAN13Dlg", 104, C, 10, 0, 1, 1},
    {"EAN13Dlg", 105, C, 10, 4, 1, 1},
    {"EAN13Dlg", 106, C, 9, 0, 1, 1},
}};

}  // namespace

std::span<const BarcodeField> BarcodeFields() {
    return kFields;
}

std::span<const BarcodeField> BarcodeFieldsOf(std::string_view owner) {
    auto all = BarcodeFields();
    size_t first = 0;
    while (first < all.size() && all[first].owner != owner) ++first;
    size_t last = first;
    while (last < all.size() && all[last].owner == owner) ++last;
    return all.subspan(first, last - first);
}

const BarcodeField* FindBarcodeField(std::string_view owner, int controlId) {
    for (const BarcodeField& f : BarcodeFieldsOf(owner))
        if (f.controlId == controlId) return &f;
    return nullptr;
}

int ReadBarcodeField(const BarcodeSettings& b, const BarcodeField& f) {
    int mask = (1 << f.width) - 1;
    return (b.bytes()[f.byte] >> f.firstBit) & mask;
}

void WriteBarcodeField(BarcodeSettings& b, const BarcodeField& f, int value) {
    int mask = ((1 << f.width) - 1) << f.firstBit;
    u8& byte = b.bytes()[f.byte];
    byte = static_cast<u8>((byte & ~mask) | ((value << f.firstBit) & mask));
}

}  // namespace k52
