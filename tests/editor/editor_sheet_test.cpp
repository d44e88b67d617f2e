#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "FakeScreen.h"
#include "editor/EditorSheet.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52 {
namespace {

using test::FakeScreen;

// Records what the simulator would see when it is told the template changed.
struct RecordingHost : EditorHost {
    explicit RecordingHost(TemplateDocument& d) : doc(d) {}
    void TemplateApplied() override {
        ++calls;
        seen.push_back(doc.tmpl);
        modifiedWhenCalled = doc.templateModified;
    }
    TemplateDocument& doc;
    int calls = 0;
    bool modifiedWhenCalled = false;
    std::vector<ApplicationTemplate> seen;
};

class EditorSheetTest : public ::testing::Test {
  protected:
    EditorSheetTest() { doc.tmpl = StartupTemplate(); }
    // One opening of the sheet, in which `edit` works on the pages, ended by OK or Cancel.
    void Run(const std::function<void(EditorSheet&)>& edit, bool ok) {
        EditorSheet sheet(doc, host);
        sheet.Show(EditorSheet::kFormPage);
        edit(sheet);
        ok ? sheet.Confirm() : sheet.Cancel();
    }
    static void ShowAndApply(EditorSheet& sheet, int page, FakeScreen& screen) {
        screen.Apply(sheet.Show(page));
    }

    TemplateDocument doc;
    RecordingHost host{doc};
};

TEST_F(EditorSheetTest, TabsInPageOrder) {
    const char* captions[] = {"表單", "選單", "索引檔", "條碼設定", "起動"};
    for (int i = 0; i < EditorSheet::kPageCount; ++i) EXPECT_EQ(EditorSheet::TabCaption(i), captions[i]);
}

TEST_F(EditorSheetTest, CancelLeavesTheTemplateUntouched) {
    doc.tmpl.form(1).partialStart[0] = 0;
    const ApplicationTemplate before = doc.tmpl;
    Run(
        [](EditorSheet& sheet) {
            FakeScreen forms(sheet.forms()), menus(sheet.menus()), lookups(sheet.lookups());
            FakeScreen barcode(sheet.barcode()), startup(sheet.startup());
            forms.Apply(sheet.forms().Initialise());
            forms.Choose(701, 1);
            forms.Type(601, "Code");
            auto attributes = sheet.forms().FieldAttributes(1);
            FakeScreen dialog(*attributes);
            dialog.Init();
            dialog.Click(103);
            dialog.Click(1);
            ShowAndApply(sheet, EditorSheet::kMenuPage, menus);
            menus.Type(601, "Menu");
            ShowAndApply(sheet, EditorSheet::kLookupPage, lookups);
            lookups.Type(609, "20");
            ShowAndApply(sheet, EditorSheet::kBarcodePage, barcode);
            barcode.Click(101);
            ShowAndApply(sheet, EditorSheet::kStartupPage, startup);
            startup.Type(605, "1234");
            startup.Choose(701, 0);
        },
        false);
    EXPECT_EQ(0, std::memcmp(&before, &doc.tmpl, sizeof before));
    EXPECT_FALSE(doc.templateModified);
    EXPECT_EQ(host.calls, 0);
}

// Discarding the sheet discards everything, what an option dialog confirmed included.
TEST_F(EditorSheetTest, CancelAlsoTakesBackWhatASymbologyDialogWrote) {
    const BarcodeSettings before = doc.tmpl.barcodeSettings;
    Run(
        [](EditorSheet& sheet) {
            FakeScreen barcode(sheet.barcode());
            ShowAndApply(sheet, EditorSheet::kBarcodePage, barcode);
            barcode.Click(110);  // Code 93 off, pending in the page only
            barcode.Click(201);
            auto dialog = sheet.barcode().OptionsDialog(barcode.opened.back());
            FakeScreen d(*dialog);
            d.Init();
            d.Click(104);  // Full ASCII
            d.Click(1);
        },
        false);
    EXPECT_EQ(0, std::memcmp(&before, &doc.tmpl.barcodeSettings, sizeof before));
    EXPECT_FALSE(doc.templateModified);
}

TEST_F(EditorSheetTest, OkCommitsFormsThenAppliesThenTheLaterPages) {
    Run(
        [](EditorSheet& sheet) {
            FakeScreen forms(sheet.forms()), menus(sheet.menus()), lookups(sheet.lookups()),
                startup(sheet.startup());
            forms.Apply(sheet.forms().Initialise());
            forms.Choose(701, 1);
            forms.Type(611, "9");
            forms.Type(621, "4");
            ShowAndApply(sheet, EditorSheet::kMenuPage, menus);
            menus.Type(601, "Count");
            ShowAndApply(sheet, EditorSheet::kLookupPage, lookups);
            lookups.Type(609, "20");
            lookups.Choose(701, 2);
            ShowAndApply(sheet, EditorSheet::kStartupPage, startup);
            startup.Choose(700, 1);
        },
        true);
    ASSERT_EQ(host.calls, 1);
    const ApplicationTemplate& seen = host.seen[0];
    EXPECT_TRUE(host.modifiedWhenCalled);
    EXPECT_EQ(seen.form(1).lineType[0], 1);
    EXPECT_EQ(seen.form(1).minLength[0], 4);  // normalised before the simulator sees it
    EXPECT_EQ(seen.menu(1).options[0][0], 0);
    EXPECT_FALSE(seen.lookupFile(1).defined());
    EXPECT_EQ(seen.startPosition, 0);
    // After OK everything is in place.
    EXPECT_EQ(FieldText(doc.tmpl.menu(1).options[0]), "Count");
    EXPECT_TRUE(doc.tmpl.lookupFile(1).defined());
    EXPECT_EQ(doc.tmpl.startPosition, 1);
    EXPECT_TRUE(doc.templateModified);
}

TEST_F(EditorSheetTest, LookupFileReachesTheSimulatorOnTheNextOk) {
    Run(
        [](EditorSheet& sheet) {
            FakeScreen lookups(sheet.lookups());
            ShowAndApply(sheet, EditorSheet::kLookupPage, lookups);
            lookups.Type(609, "12");
            lookups.Choose(701, 1);
        },
        true);
    Run([](EditorSheet&) {}, true);
    ASSERT_EQ(host.calls, 2);
    EXPECT_FALSE(host.seen[0].lookupFile(1).defined());
    EXPECT_TRUE(host.seen[1].lookupFile(1).defined());
}

TEST_F(EditorSheetTest, OkWithOnlyTheFormPageShownWritesNothingElse) {
    // Blocks of pages that were never shown are not rewritten from stale copies.
    EditorSheet sheet(doc, host);
    sheet.Show(EditorSheet::kFormPage);
    std::memcpy(doc.tmpl.menu(2).title, "Late", 5);
    doc.tmpl.barcodeSettings.scanModeSetting = 0xC6;
    sheet.Confirm();
    EXPECT_EQ(FieldText(doc.tmpl.menu(2).title), "Late");
    EXPECT_EQ(doc.tmpl.barcodeSettings.scanModeSetting, 0xC6);
    // Nothing was changed in the sheet: the template is as modified as it was before.
    EXPECT_FALSE(doc.templateModified);
    EXPECT_EQ(host.calls, 1);
}

// A menu leading to two forms with lookup fields, separators and barcode options: designed, confirmed,
// saved and reopened, every value reads back as entered.
TEST_F(EditorSheetTest, DesignedApplicationSurvivesSaveAndReopen) {
    Run(
        [](EditorSheet& sheet) {
            FakeScreen forms(sheet.forms()), menus(sheet.menus()), lookups(sheet.lookups());
            FakeScreen barcode(sheet.barcode()), startup(sheet.startup());
            forms.Apply(sheet.forms().Initialise());
            forms.Choose(752, 11);
            forms.Choose(755, 1);
            forms.Choose(701, 1);
            forms.Type(601, "料號");
            forms.Choose(721, 1);
            forms.Type(611, "1");
            forms.Type(621, "13");
            forms.Choose(702, 2);
            forms.Type(602, "數量");
            forms.Type(622, "5");
            forms.Choose(700, 1);
            forms.Choose(756, 2);
            forms.Choose(755, 1);
            forms.Choose(701, 7);
            forms.Type(601, "品名");
            forms.Choose(721, 2);

            ShowAndApply(sheet, EditorSheet::kMenuPage, menus);
            menus.Click(101);
            menus.Type(691, "倉庫");
            menus.Type(601, "進貨");
            menus.Choose(701, 1);
            menus.Type(602, "出貨");
            menus.Choose(702, 2);

            ShowAndApply(sheet, EditorSheet::kLookupPage, lookups);
            lookups.Type(609, "30");
            lookups.Choose(701, 2);
            lookups.Type(611, "13");
            lookups.Type(602, "14");
            lookups.Type(612, "17");

            ShowAndApply(sheet, EditorSheet::kBarcodePage, barcode);
            barcode.Click(111);
            barcode.Click(108);
            barcode.Choose(702, 1);
            barcode.Click(208);
            auto msi = sheet.barcode().OptionsDialog(208);
            FakeScreen d(*msi);
            d.Init();
            d.Type(601, "20");
            d.Type(602, "4");
            d.Click(1);

            ShowAndApply(sheet, EditorSheet::kStartupPage, startup);
            startup.Choose(700, 1);
            startup.Choose(701, 2);
            startup.Type(601, "9");
            startup.Type(602, "13");
        },
        true);

    std::vector<unsigned char> file = SerializeTemplate(doc.tmpl);
    TemplateDocument reopened;
    ASSERT_EQ(ParseTemplate(file.data(), file.size(), reopened.tmpl), TemplateReadResult::Ok);
    const ApplicationTemplate& t = reopened.tmpl;
    EXPECT_EQ(0, std::memcmp(&t, &doc.tmpl, sizeof t));

    EXPECT_EQ(t.startPosition, 1);
    EXPECT_EQ(t.fieldSeparators.separator1, 9);
    EXPECT_EQ(t.fieldSeparators.separator2, 13);
    EXPECT_EQ(t.menu(1).showTitle, 1);
    EXPECT_EQ(std::string(FieldText(t.menu(1).title)), "\xAD\xDC\xAE\x77");  // 倉庫
    EXPECT_EQ(t.menu(1).optionTargets[0], 1);
    EXPECT_EQ(t.menu(1).optionTargets[1], 2);
    EXPECT_EQ(t.form(1).nextTarget, 11);
    EXPECT_EQ(t.form(1).lookupFile, 1);
    EXPECT_EQ(t.form(1).lineType[0], 1);
    EXPECT_EQ(t.form(1).lookupField[0], 1);
    EXPECT_EQ(t.form(1).minLength[0], 1);
    EXPECT_EQ(t.form(1).maxLength[0], 13);
    EXPECT_EQ(t.form(1).lineType[1], 2);
    EXPECT_EQ(t.form(1).maxLength[1], 5);
    EXPECT_EQ(t.form(2).dataAction, 2);
    EXPECT_EQ(t.form(2).lineType[0], 7);
    EXPECT_EQ(t.form(2).lookupField[0], 2);
    EXPECT_EQ(t.lookupFile(1).recordLength, 30);
    EXPECT_EQ(t.lookupFile(1).fieldCount, 2);
    EXPECT_EQ(t.lookupFile(1).fieldStart[1], 14);
    EXPECT_EQ(t.lookupFile(1).fieldLength[0], 13);
    EXPECT_EQ(t.lookupFile(1).fieldLength[1], 17);
    const u8* b = t.barcodeSettings.bytes();
    EXPECT_EQ(b[1], 0x49);
    EXPECT_EQ(b[2], 0x20);
    EXPECT_EQ(b[11], 0x04);
    EXPECT_EQ(b[18], 0x94);
    EXPECT_EQ(b[19], 0x04);

    // The reopened template shows the same values in the sheet.
    RecordingHost host2(reopened);
    EditorSheet sheet(reopened, host2);
    FakeScreen forms(sheet.forms()), menus(sheet.menus());
    forms.Apply(sheet.Show(EditorSheet::kFormPage));
    EXPECT_EQ(forms.text(601), "料號");
    EXPECT_EQ(forms.shown(721), "欄位 1");
    EXPECT_EQ(forms.shown(752), "選單  1: 倉庫");
    menus.Apply(sheet.Show(EditorSheet::kMenuPage));
    EXPECT_EQ(menus.text(691), "倉庫");
    EXPECT_EQ(menus.shown(702), "表單  2");
}

TEST_F(EditorSheetTest, PagesInitialiseOnlyOnTheirFirstShowing) {
    EditorSheet sheet(doc, host);
    EXPECT_FALSE(sheet.Show(EditorSheet::kMenuPage).empty());
    EXPECT_TRUE(sheet.Show(EditorSheet::kMenuPage).empty());
    EXPECT_TRUE(sheet.shown(EditorSheet::kMenuPage));
    EXPECT_FALSE(sheet.shown(EditorSheet::kLookupPage));
}

}  // namespace
}  // namespace k52
