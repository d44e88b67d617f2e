#include <gtest/gtest.h>

#include <cstring>

#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

TEST(Defaults, BarcodeDefaultsAreTheFactoryBlock) {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    const u8 expected[24] = {0x9B, 0xC9, 0x00, 0x00, 0x00, 0x2D, 0x54, 0x80, 0x00, 0x19, 0x3D, 0x00,
                             0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0x66, 0x03, 0x03, 0x00};
    EXPECT_EQ(std::memcmp(t.barcodeSettings.bytes(), expected, 24), 0);
    EXPECT_EQ(t.barcodeSettings.scanMode(), 6);
    EXPECT_EQ(t.barcodeSettings.industrial25Lengths.lengthMode(), 1);
    EXPECT_EQ(t.barcodeSettings.industrial25Lengths.length1(), 127);
}

TEST(Defaults, ResetGivesABlankApplicationAndKeepsPortAndBarcode) {
    ApplicationTemplate t;
    std::memset(&t, 0xAB, sizeof t);
    t.barcodeSettings.symbologyFlags0 = 0x12;
    t.portSettings = {3, 4};
    NewTemplateReset(t);

    EXPECT_EQ(t.barcodeSettings.symbologyFlags0, 0x12);
    EXPECT_EQ(t.portSettings.comPort, 3);
    EXPECT_EQ(t.portSettings.baudRate, 4);
    EXPECT_EQ(t.form(3).nextTarget, 3);
    for (const FormRecord& f : t.forms) {
        for (int i = 0; i < kLinesPerForm; ++i) {
            EXPECT_EQ(f.lineType[i], 0);
            EXPECT_EQ(f.inputSource[i], 2);
            EXPECT_EQ(f.maxLength[i], 50);
            EXPECT_EQ(f.partialMaxLength[i], 20);
            EXPECT_EQ(f.autoAdvance[i], 1);
            EXPECT_EQ(FieldText(f.prompt[i]), "");
            EXPECT_EQ(FieldText(f.verifyPrefixText[i]), "");
        }
    }
    for (const MenuRecord& m : t.menus) {
        EXPECT_EQ(FieldText(m.title), "");
        for (int i = 0; i < kOptionsPerMenu; ++i) EXPECT_EQ(m.optionTargets[i], 0);
    }
    for (const LookupFileRecord& l : t.lookupFiles) {
        EXPECT_FALSE(l.defined());
        EXPECT_EQ(l.fieldStart[7], 1);
    }
    EXPECT_EQ(t.fieldSeparators.separator1, 44);
    EXPECT_EQ(t.fieldSeparators.separator2, 0);
    EXPECT_EQ(t.startupSettings.setting4, 50);
    EXPECT_EQ(t.startupSettings.passwordGuard[11], 0);
    EXPECT_EQ(t.startPosition, 0);
    for (u8 b : t.securityPassword) EXPECT_EQ(b, 0);
}

TEST(Defaults, NormalisationClampsLengthsAndClearsMeaninglessFields) {
    ApplicationTemplate t{};
    NewTemplateReset(t);
    FormRecord& f = t.form(1);
    f.minLength[0] = 60, f.maxLength[0] = 80;
    f.minLength[1] = 30, f.maxLength[1] = 20;
    f.lineType[2] = kLineNone, WriteFieldText(f.prompt[2], "P2", 15), f.lookupField[2] = 3;
    f.lineType[3] = kLineFixedData, WriteFieldText(f.prompt[3], "P3", 15), f.lookupField[3] = 3;
    f.lineType[4] = kLineLookupRef, WriteFieldText(f.prompt[4], "P4", 15), f.lookupField[4] = 3;
    f.lineType[5] = kLineContinuation, WriteFieldText(f.prompt[5], "P5", 15), f.lookupField[5] = 3;
    f.lineType[6] = kLinePromptOnly, f.lookupField[6] = 2;

    NormaliseTemplate(t);
    EXPECT_EQ(f.minLength[0], 50);
    EXPECT_EQ(f.maxLength[0], 50);
    EXPECT_EQ(f.minLength[1], 20);
    EXPECT_EQ(f.maxLength[1], 20);
    EXPECT_EQ(FieldText(f.prompt[2]), "");
    EXPECT_EQ(f.lookupField[2], 0);
    EXPECT_EQ(FieldText(f.prompt[3]), "P3");
    EXPECT_EQ(f.lookupField[3], 0);
    EXPECT_EQ(FieldText(f.prompt[4]), "P4");
    EXPECT_EQ(f.lookupField[4], 3);
    EXPECT_EQ(FieldText(f.prompt[5]), "");
    EXPECT_EQ(f.lookupField[5], 0);
    EXPECT_EQ(f.lookupField[6], 0);

    ApplicationTemplate again = t;
    NormaliseTemplate(again);
    EXPECT_EQ(std::memcmp(&again, &t, sizeof t), 0) << "normalisation is idempotent";
}

TEST(Defaults, NarrowFormsLoseLinesFiveToEight) {
    ApplicationTemplate t{};
    NewTemplateReset(t);
    FormRecord& f = t.form(2);
    f.narrowRows = 1;
    for (int i = 0; i < kLinesPerForm; ++i) {
        f.lineType[i] = kLineString;
        WriteFieldText(f.prompt[i], "X", 15);
        f.lookupField[i] = 1;
    }
    NormaliseTemplate(t);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f.lineType[i], kLineString);
    for (int i = 4; i < 8; ++i) {
        EXPECT_EQ(f.lineType[i], 0);
        EXPECT_EQ(FieldText(f.prompt[i]), "");
        EXPECT_EQ(f.lookupField[i], 0);
    }
}

TEST(TargetCode, DecodesAndLabels) {
    EXPECT_EQ(TargetLabel(0), "主選單");
    EXPECT_EQ(TargetLabel(1), "表單  1");
    EXPECT_EQ(TargetLabel(10), "表單  10");
    EXPECT_EQ(TargetLabel(11), "選單  1");
    EXPECT_EQ(TargetLabel(20), "選單  10");
    EXPECT_EQ(TargetLabel(21), "");
    EXPECT_EQ(DecodeTarget(15).kind, TargetKind::Menu);
    EXPECT_EQ(DecodeTarget(15).number, 5);
    EXPECT_EQ(DecodeTarget(255).kind, TargetKind::Invalid);
}

TEST(Layout, RecordsNeverShareBytes) {
    ApplicationTemplate t{};
    auto offset = [&](const void* p) { return static_cast<const u8*>(p) - t.bytes(); };
    EXPECT_EQ(offset(&t.menu(1)), 27);
    EXPECT_EQ(offset(&t.menu(10)), 27 + 9 * 250);
    EXPECT_EQ(offset(&t.form(1)), 2527);
    EXPECT_EQ(offset(&t.form(10)), 2527 + 9 * 601);
    EXPECT_EQ(offset(&t.lookupFile(3)), 8537 + 2 * 19);
    EXPECT_EQ(offset(&t.form(1).prompt[7]), 2527 + 23 + 7 * 21);
    EXPECT_EQ(offset(&t.form(1).verifyPrefixText[7]), 2527 + 535 + 7 * 6);
    EXPECT_EQ(offset(&t.menu(1).options[9]), 27 + 23 + 9 * 21);
}

}  // namespace
}  // namespace k52
