#include <gtest/gtest.h>

#include <set>

#include "template/BarcodeFields.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

TEST(BarcodeFields, DefaultsReadBackAsTheFactorySettings) {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    const BarcodeSettings& b = t.barcodeSettings;
    struct Case {
        const char* owner;
        int id;
        int value;
    } cases[] = {
        {"BarcodeSettingsPage", 101, 1},
        {"BarcodeSettingsPage", 102, 0},
        {"BarcodeSettingsPage", 110, 1},
        {"BarcodeSettingsPage", 119, 1},
        {"BarcodeSettingsPage", 108, 0},
        {"BarcodeSettingsPage", 701, 6},
        {"BarcodeSettingsPage", 601, 3},
        {"BarcodeSettingsPage", 702, 0},
        {"Code39Dlg", 103, 1},
        {"Industrial25Dlg", 401, 0},
        {"Interleave25Dlg", 401, 1},
        {"Matrix25Dlg", 401, 2},
        {"Industrial25Dlg", 404, 1},
        {"Industrial25Dlg", 601, 127},
        {"MSIDlg", 602, 1},
        {"MSIDlg", 404, 1},
        {"PlesseyDlg", 102, 1},
        {"EAN13Dlg", 106, 1},
        {"EAN13Dlg", 104, 1},
        {"UPCEDlg", 103, 1},
        {"CodabarDlg", 401, 0},
    };
    for (const Case& c : cases) {
        const BarcodeField* f = FindBarcodeField(c.owner, c.id);
        ASSERT_NE(f, nullptr) << c.owner << " " << c.id;
        EXPECT_EQ(ReadBarcodeField(b, *f), c.value) << c.owner << " " << c.id;
    }
}

TEST(BarcodeFields, WritesTouchOnlyTheirOwnBits) {
    for (const BarcodeField& f : BarcodeFields()) {
        BarcodeSettings b;
        for (int i = 0; i < 24; ++i) b.bytes()[i] = 0xA5;
        const BarcodeSettings before = b;
        WriteBarcodeField(b, f, (1 << f.width) - 1);
        EXPECT_EQ(ReadBarcodeField(b, f), (1 << f.width) - 1);
        WriteBarcodeField(b, f, 0);
        EXPECT_EQ(ReadBarcodeField(b, f), 0);
        int mask = ((1 << f.width) - 1) << f.firstBit;
        for (int i = 0; i < 24; ++i) {
            int keep = (i == f.byte) ? ~mask & 0xFF : 0xFF;
            EXPECT_EQ(b.bytes()[i] & keep, before.bytes()[i] & keep) << f.owner << " " << f.controlId;
        }
    }
}

TEST(BarcodeFields, NoTwoEditorsShareABitExceptCodabarsGroups) {
    std::set<std::pair<int, int>> seen;
    for (const BarcodeField& f : BarcodeFields())
        for (int bit = f.firstBit; bit < f.firstBit + f.width; ++bit)
            EXPECT_TRUE(seen.insert({f.byte, bit}).second)
                << f.owner << " " << f.controlId << " byte " << f.byte;
    EXPECT_EQ(BarcodeFieldsOf("Code39Dlg").size(), 4u);
    EXPECT_EQ(BarcodeFieldsOf("EAN13Dlg").size(), 6u);
    EXPECT_EQ(BarcodeFieldsOf("BarcodeSettingsPage").size(), 24u);
}

}  // namespace
}  // namespace k52
