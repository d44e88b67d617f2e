// The sheet's protection of the work: undo and redo across pages, revert, the discard question, copying a
// form or menu, and an OK without changes that leaves the template unmodified.
#include <gtest/gtest.h>

#include <cstring>

#include "FakeScreen.h"
#include "editor/EditorSheet.h"
#include "support/Messages.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::FakeScreen;

struct NullHost : EditorHost {
    void TemplateApplied() override {}
};

// Drives a page through the sheet, as the desktop's binder does.
class SheetScreen : public FakeScreen {
  public:
    SheetScreen(EditorSheet& sheet, int page) : FakeScreen(sheet.events(page)), sheet_(sheet), page_(page) {
        Apply(sheet.Show(page));
    }
    void Undo() { Apply(sheet_.Undo().updates); }
    void Redo() { Apply(sheet_.Redo().updates); }
    void Revert() { Apply(sheet_.RevertPage(page_)); }

  private:
    EditorSheet& sheet_;
    int page_;
};

class SheetUndoTest : public ::testing::Test {
  protected:
    SheetUndoTest() { doc.tmpl = StartupTemplate(); }
    TemplateDocument doc;
    NullHost host;
    test::ScriptedMessages messages;
};

TEST_F(SheetUndoTest, UndoAndRedoWalkTheChangesOfEveryPage) {
    EditorSheet sheet(doc, host);
    SheetScreen forms(sheet, EditorSheet::kFormPage), menus(sheet, EditorSheet::kMenuPage);
    forms.Choose(701, 2);  // line 1: a whole number
    forms.Type(601, "Q");
    forms.Type(601, "Qt");
    forms.Type(601, "Qty");  // one step for the typing in one box
    forms.Choose(700, 3);    // another form: a view, not a change
    menus.Type(691, "Stock");
    EXPECT_TRUE(sheet.canUndo());

    menus.Undo();
    EXPECT_EQ(menus.text(691), "");
    EXPECT_EQ(sheet.Undo().page, EditorSheet::kFormPage);  // the typing, all of it
    EditorSheet::StepResult type = sheet.Undo();
    forms.Apply(type.updates);
    EXPECT_EQ(forms.selection(700), 0);  // back on the form the change was made in
    EXPECT_EQ(forms.selection(701), 0);
    EXPECT_FALSE(sheet.canUndo());
    EXPECT_FALSE(sheet.HasChanges());

    forms.Redo();
    forms.Redo();
    EXPECT_EQ(forms.text(601), "Qty");
    EXPECT_EQ(forms.selection(701), 2);
    // A new change drops what could be redone.
    forms.Type(611, "3");
    EXPECT_FALSE(sheet.canRedo());
    sheet.Confirm();
    EXPECT_EQ(FieldText(doc.tmpl.form(1).prompt[0]), "Qty");
    EXPECT_EQ(doc.tmpl.form(1).minLength[0], 3);
    EXPECT_EQ(doc.tmpl.menu(1).title[0], 0);
    EXPECT_TRUE(doc.templateModified);
}

// The barcode page and start-up page keep their state outside a record copy; undo reaches it too, and a
// dialog's OK is one step.
TEST_F(SheetUndoTest, UndoReachesThePendingBarcodeAndStartupStateAndDialogs) {
    const BarcodeSettings before = doc.tmpl.barcodeSettings;
    EditorSheet sheet(doc, host);
    SheetScreen barcode(sheet, EditorSheet::kBarcodePage), startup(sheet, EditorSheet::kStartupPage);
    const bool code39 = barcode.checked(101);
    barcode.Click(101);
    barcode.Click(201);
    auto dialog = sheet.barcode().OptionsDialog(201);
    FakeScreen options(*dialog);
    options.Init();
    options.Click(104);
    options.Click(1);
    sheet.DialogClosed(EditorSheet::kBarcodePage);
    EXPECT_NE(0, std::memcmp(&before, &doc.tmpl.barcodeSettings, sizeof before));
    const int count = startup.selection(701);
    startup.Choose(701, 2);
    startup.Type(602, "59");
    EXPECT_EQ(startup.text(604), ";");

    startup.Undo();
    EXPECT_EQ(startup.text(602), "0");
    EXPECT_EQ(startup.text(604), "");
    startup.Undo();
    EXPECT_EQ(startup.selection(701), count);
    barcode.Undo();  // the dialog's OK
    EXPECT_EQ(barcode.checked(101), !code39);
    barcode.Undo();
    EXPECT_EQ(barcode.checked(101), code39);
    EXPECT_EQ(0, std::memcmp(&before, &doc.tmpl.barcodeSettings, sizeof before));
    EXPECT_FALSE(sheet.HasChanges());
}

TEST_F(SheetUndoTest, RevertPutsOnlyThatPageBackAndCanBeUndone) {
    EditorSheet sheet(doc, host);
    SheetScreen lookups(sheet, EditorSheet::kLookupPage), menus(sheet, EditorSheet::kMenuPage);
    lookups.Type(609, "33");
    lookups.Choose(701, 2);
    lookups.Choose(700, 1);
    lookups.Type(609, "12");
    menus.Type(601, "Count");
    lookups.Revert();
    EXPECT_EQ(lookups.text(609), "0");
    EXPECT_EQ(lookups.selection(700), 1);  // still the file shown
    EXPECT_EQ(menus.text(601), "Count");
    lookups.Undo();
    EXPECT_EQ(lookups.text(609), "12");
    lookups.Choose(700, 0);
    EXPECT_EQ(lookups.text(609), "33");
    EXPECT_EQ(lookups.selection(701), 2);
}

// Leaving asks only when something differs from what the sheet showed at first; No keeps the work.
TEST_F(SheetUndoTest, CancelAsksOnlyWhenThereAreChanges) {
    const ApplicationTemplate before = doc.tmpl;
    {
        EditorSheet sheet(doc, host);
        SheetScreen forms(sheet, EditorSheet::kFormPage);
        forms.Choose(753, 2);
        forms.Choose(753, 0);  // changed and changed back: nothing to lose
        EXPECT_TRUE(sheet.RequestCancel(messages));
        EXPECT_TRUE(messages.shown.empty());
    }
    EditorSheet sheet(doc, host);
    SheetScreen forms(sheet, EditorSheet::kFormPage);
    forms.Type(601, "Qty");
    messages.answers = {MessageAnswer::No};
    EXPECT_FALSE(sheet.RequestCancel(messages));
    ASSERT_EQ(messages.texts(), std::vector<std::string>{kDiscardQuestion});
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(sheet.HasChanges());
    messages.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(sheet.RequestCancel(messages));
    EXPECT_EQ(0, std::memcmp(&before, &doc.tmpl, sizeof before));
}

TEST_F(SheetUndoTest, ConfirmingWithoutAChangeLeavesTheTemplateUnmodified) {
    EditorSheet sheet(doc, host);
    SheetScreen forms(sheet, EditorSheet::kFormPage), startup(sheet, EditorSheet::kStartupPage);
    forms.Choose(700, 4);
    sheet.Confirm();
    EXPECT_FALSE(doc.templateModified);
}

// A copy replaces a slot in use only after a Yes, shows the copy, and is one undoable step.
TEST_F(SheetUndoTest, CopyToAsksBeforeReplacingAFormInUse) {
    doc.tmpl.form(3).lineType[0] = kLineString;
    EditorSheet sheet(doc, host);
    SheetScreen forms(sheet, EditorSheet::kFormPage);
    forms.Choose(701, 1);
    forms.Type(601, "Item");
    forms.Apply(sheet.CopyTo(EditorSheet::kFormPage, 1, messages));  // form 2 is empty: no question
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(forms.selection(700), 1);
    EXPECT_EQ(forms.text(601), "Item");

    messages.answers = {MessageAnswer::No};
    EXPECT_TRUE(sheet.CopyTo(EditorSheet::kFormPage, 2, messages).empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "表單 3 已有內容, 要以表單 2 取代嗎??");
    messages.answers = {MessageAnswer::Yes};
    forms.Apply(sheet.CopyTo(EditorSheet::kFormPage, 2, messages));
    forms.Undo();
    EXPECT_EQ(forms.selection(700), 1);
    sheet.Confirm();
    EXPECT_EQ(FieldText(doc.tmpl.form(2).prompt[0]), "Item");
    EXPECT_EQ(doc.tmpl.form(3).lineType[0], kLineString);
    EXPECT_EQ(doc.tmpl.form(3).prompt[0][0], 0);
}

TEST_F(SheetUndoTest, CopyToCopiesAWholeMenuAndTargetsShowTheTitles) {
    EditorSheet sheet(doc, host);
    SheetScreen menus(sheet, EditorSheet::kMenuPage);
    menus.Click(101);
    menus.Type(691, "Receiving");
    menus.Choose(701, 12);
    menus.Apply(sheet.CopyTo(EditorSheet::kMenuPage, 4, messages));
    EXPECT_EQ(menus.shown(701), "選單  2");
    EXPECT_EQ(menus[751].items[15], "選單  5: Receiving");
    sheet.Confirm();
    EXPECT_EQ(0, std::memcmp(&doc.tmpl.menu(1), &doc.tmpl.menu(5), sizeof(MenuRecord)));
}

}  // namespace
}  // namespace k52
