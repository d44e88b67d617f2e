#include <gtest/gtest.h>

#include "FakeScreen.h"
#include "editor/FormPage.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::Bytes;
using test::FakeScreen;

struct CountingHost : EditorHost {
    void TemplateApplied() override { ++calls; }
    int calls = 0;
};

class FormPageTest : public ::testing::Test {
  protected:
    FormPageTest() {
        doc.tmpl = StartupTemplate();
        screen.Init();
    }
    // Opens the field attributes dialog of line n (1..4) of the current form.
    std::unique_ptr<FieldAttributesDialog> Attributes(int n) {
        screen.Click(200 + n);
        EXPECT_EQ(screen.opened.back(), 200 + n);
        return page.FieldAttributes(n);
    }
    const FormRecord& working() { return saved = (page.Commit(), doc.tmpl.form(page.currentForm() + 1)); }

    TemplateDocument doc;
    CountingHost host;
    FormPage page{doc, host};
    FakeScreen screen{page};
    FormRecord saved{};
};

TEST_F(FormPageTest, NewFormShowsEmptyLinesWithTheirControlsDisabled) {
    screen.Choose(700, 2);
    EXPECT_EQ(screen.shown(752), "表單  3");
    EXPECT_EQ(screen.shown(751), "主選單");
    EXPECT_EQ(screen.shown(753), "無");
    EXPECT_EQ(screen[753].items.size(), 13u);
    EXPECT_EQ(screen[754].items.size(), 9u);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(screen.shown(700 + n), "無");
        EXPECT_EQ(screen.shown(710 + n), "皆  可");
        EXPECT_EQ(screen.shown(720 + n), "nil");
        EXPECT_EQ(screen[720 + n].items.back(), "欄位 8");
        EXPECT_EQ(screen.text(610 + n), "0");
        EXPECT_EQ(screen.text(620 + n), "50");
        for (int base : {600, 200, 710, 610, 620, 720}) EXPECT_FALSE(screen.enabled(base + n)) << base + n;
    }
}

TEST_F(FormPageTest, EnablingFollowsTheLineType) {
    // prompt, advanced button, input source, min, max, lookup field
    const bool expected[9][6] = {
        {0, 0, 0, 0, 0, 0},  // none
        {1, 1, 1, 1, 1, 1},  // string
        {1, 1, 1, 1, 1, 1},  // numeric
        {1, 1, 1, 1, 1, 1},  // real
        {1, 1, 1, 1, 1, 1},  // alphabetic
        {1, 1, 0, 0, 0, 0},  // fixed data
        {1, 0, 0, 0, 0, 0},  // prompt only
        {1, 0, 0, 0, 0, 1},  // lookup reference
        {0, 0, 0, 0, 0, 0},  // continuation
    };
    const int bases[6] = {600, 200, 710, 610, 620, 720};
    for (int type = 0; type < 9; ++type) {
        screen.Choose(703, type);
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(screen.enabled(bases[k] + 3), expected[type][k]) << type << " " << k;
        EXPECT_FALSE(screen.enabled(602));  // other lines stay as they were
    }
}

TEST_F(FormPageTest, DisabledControlsKeepValuesUntilNormalisationClearsThem) {
    screen.Choose(701, 1);
    screen.Type(601, "Item");
    screen.Choose(711, 0);
    screen.Choose(721, 3);
    screen.Choose(701, 6);
    EXPECT_FALSE(screen.enabled(721));
    EXPECT_EQ(screen.shown(721), "欄位 3");
    page.Commit();
    const FormRecord& f = doc.tmpl.form(1);
    EXPECT_EQ(f.lineType[0], 6);
    EXPECT_EQ(f.inputSource[0], 0);
    EXPECT_EQ(f.lookupField[0], 0);  // prompt-only lines have no lookup field
    EXPECT_EQ(FieldText(f.prompt[0]), "Item");
}

TEST_F(FormPageTest, LengthBoxes) {
    screen.Choose(701, 1);
    screen.Type(621, "51");
    screen.Type(611, "5");
    screen.Type(622, "abc");
    EXPECT_EQ(screen.text(622), "0");
    screen.Type(612, "7");
    screen.Type(612, "");
    EXPECT_EQ(screen.text(612), "");
    EXPECT_EQ(working().maxLength[0], 50);
    EXPECT_EQ(saved.minLength[0], 5);
    EXPECT_EQ(saved.maxLength[1], 0);
    EXPECT_EQ(saved.minLength[1], 0);

    screen.Init();
    screen.Type(611, "5");
    screen.Type(621, "3");
    EXPECT_EQ(working().minLength[0], 3);
    EXPECT_EQ(saved.maxLength[0], 3);
}

TEST_F(FormPageTest, PromptIsCutToFifteenBytes) {
    screen.Choose(702, 5);
    screen.Type(602, "數量數量數量數量");
    EXPECT_EQ(screen.text(602), "數量數量數量數");
    EXPECT_EQ(FieldText(working().prompt[1]).size(), 14u);
}

TEST_F(FormPageTest, CommitMarksTheTemplateAndAppliesIt) {
    ASSERT_FALSE(doc.templateModified);
    page.Commit();
    EXPECT_TRUE(doc.templateModified);
    EXPECT_EQ(host.calls, 1);
}

TEST_F(FormPageTest, FieldAttributesOpenWithCorrectedPartialRangeAndCancelRestoresIt) {
    doc.tmpl.form(1).partialStart[0] = 0;
    doc.tmpl.form(1).partialMaxLength[0] = 0;
    screen.Init();
    screen.Choose(701, 1);
    auto dialog = Attributes(1);
    ASSERT_TRUE(dialog);
    FakeScreen d(*dialog);
    d.Init();
    EXPECT_EQ(d.text(501), "1");
    EXPECT_EQ(d.text(502), "1");
    EXPECT_EQ(d.text(606), "1");
    EXPECT_EQ(d.text(607), "50");
    EXPECT_FALSE(d.enabled(606));
    EXPECT_FALSE(d.enabled(401));
    EXPECT_TRUE(d.checked(109));
    d.Click(106);
    EXPECT_TRUE(d.enabled(606));
    d.Click(101);
    d.Click(402);
    EXPECT_TRUE(d.checked(402));
    EXPECT_FALSE(d.checked(401));
    d.Click(2);
    EXPECT_EQ(d.closed, 0);
    EXPECT_EQ(working().partialStart[0], 0);
    EXPECT_EQ(saved.partialMaxLength[0], 0);
    EXPECT_EQ(saved.partialBarcode[0], 0);
    EXPECT_EQ(saved.alignment[0], 0);
}

TEST_F(FormPageTest, FieldAttributesOkKeepsEditsInTheWorkingCopyOnly) {
    screen.Choose(700, 1);
    screen.Choose(702, 5);
    auto dialog = Attributes(2);
    FakeScreen d(*dialog);
    d.Init();
    EXPECT_EQ(d.text(501), "2");
    EXPECT_EQ(d.text(502), "2");
    d.Click(103);
    d.Type(603, "13 10");
    d.Type(604, "1234567890");
    EXPECT_EQ(d.text(604), "123456789");
    d.Type(607, "x");
    EXPECT_EQ(d.text(607), "0");
    d.Type(601, "x");
    EXPECT_EQ(d.text(601), "1");
    d.Type(606, "300");
    d.Click(1);
    EXPECT_EQ(d.closed, 1);
    EXPECT_EQ(doc.tmpl.form(2).hasPrefix[1], 0);
    const FormRecord& f = working();
    EXPECT_EQ(f.hasPrefix[1], 1);
    EXPECT_EQ(FieldText(f.prefix[1]), "13 10");
    EXPECT_EQ(FieldText(f.suffix[1]), "123456789");
    EXPECT_EQ(f.fixedLengthValue[1], 1);
    EXPECT_EQ(f.partialStart[1], 1);
    EXPECT_EQ(f.partialMaxLength[1], 50);  // 0 typed, raised at OK
}

TEST_F(FormPageTest, VerifyPrefixFillsSixBytesWithoutTerminator) {
    screen.Choose(701, 1);
    screen.Choose(702, 1);
    auto dialog = Attributes(1);
    FakeScreen d(*dialog);
    d.Init();
    d.Type(608, "ABCDEFG");
    EXPECT_EQ(d.text(608), "ABCDEF");
    d.Click(1);
    const FormRecord& f = working();
    EXPECT_EQ(Bytes(f.verifyPrefixText[0]), (std::vector<int>{'A', 'B', 'C', 'D', 'E', 'F'}));
    EXPECT_EQ(Bytes(f.verifyPrefixText[1]), (std::vector<int>{0, 0, 0, 0, 0, 0}));
    // Reopened, the full field reads back without running into the next line.
    screen.Init();
    auto again = Attributes(1);
    FakeScreen d2(*again);
    d2.Init();
    EXPECT_EQ(d2.text(608), "ABCDEF");
    d2.Type(608, "中文中文");
    EXPECT_EQ(d2.text(608), "中文中");
}

TEST_F(FormPageTest, LinesFiveToEightAndUnshownFieldsPassThrough) {
    FormRecord& f = doc.tmpl.form(1);
    f.lineType[5] = 2;
    f.maxLength[5] = 12;
    f.lineSpare[2] = 77;
    f.currentLine = 3;
    screen.Init();
    screen.Choose(701, 2);
    page.Commit();
    EXPECT_EQ(f.lineType[5], 2);
    EXPECT_EQ(f.maxLength[5], 12);
    EXPECT_EQ(f.lineSpare[2], 77);
    EXPECT_EQ(f.currentLine, 3);
}

}  // namespace
}  // namespace k52
