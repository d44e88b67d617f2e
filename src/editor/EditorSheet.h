// The editor sheet: five pages over one template, each building its working state when first shown and
// writing it back, in page order, when the sheet is confirmed. Every change made through the sheet is a
// step that can be undone and redone, and a page can be put back as the sheet found it.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "app/TemplateCommands.h"
#include "app/UserInterface.h"
#include "editor/BarcodePage.h"
#include "editor/EditorHost.h"
#include "editor/FormPage.h"
#include "editor/LookupPage.h"
#include "editor/MenuPage.h"
#include "editor/StartupPage.h"

namespace k52 {

extern const char kDiscardQuestion[];  // "要放棄所做的變更嗎??"

class EditorSheet {
  public:
    enum PageIndex : int { kFormPage, kMenuPage, kLookupPage, kBarcodePage, kStartupPage, kPageCount };

    static constexpr std::string_view kCaption = "Application Template";
    static std::string_view TabCaption(int page);

    EditorSheet(TemplateDocument& doc, EditorHost& host);

    SheetPage& page(int index);
    const SheetPage& page(int index) const;
    FormPage& forms() { return forms_; }
    MenuPage& menus() { return menus_; }
    LookupPage& lookups() { return lookups_; }
    BarcodePage& barcode() { return barcode_; }
    StartupPage& startup() { return startup_; }

    // The first showing of a page in this opening of the sheet initialises it; later ones return nothing.
    ControlUpdates Show(int index);
    bool shown(int index) const {
        return index >= 0 && index < kPageCount && shown_[static_cast<std::size_t>(index)];
    }

    // What a page's controls report, passed to the page through the sheet so that a change is recorded.
    ControlEvents& events(int index);
    // A dialog opened from a page (field attributes, symbology options) has closed; what it changed is a
    // step of its page.
    void DialogClosed(int index);

    // The page a step belongs to (-1: there was none) and what its controls show afterwards.
    struct StepResult {
        int page = -1;
        ControlUpdates updates;
    };
    StepResult Undo();
    StepResult Redo();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The page as it was when this opening of the sheet first showed it; an undoable step of its own.
    ControlUpdates RevertPage(int index);

    // A form or menu, whole, onto another slot, after asking when that slot is in use. Nothing when the
    // page holds no such records or the user declines.
    ControlUpdates CopyTo(int index, int slot, MessageBoxes& messages);
    bool SlotInUse(int index, int slot) const;

    // Whether a page differs from what it showed at first.
    bool HasChanges() const;

    // OK: every page shown commits, forms first. The sheet opens on the form page, so it always commits;
    // the template counts as modified only when something was changed.
    void Confirm();
    // Cancel: all working state is dropped, and the barcode block is as it was when the sheet opened.
    void Cancel();
    // Esc, Cancel or the close box: asks before changes are thrown away. True when the sheet was cancelled.
    bool RequestCancel(MessageBoxes& messages);

  private:
    struct Step {
        int page;
        int textId;  // the box whose typing this step gathers, or 0
        PageState before;
        PageState after;
    };
    class PageEvents : public ControlEvents {
      public:
        PageEvents(EditorSheet& sheet, int page) : sheet_(sheet), page_(page) {}
        ControlUpdates TextChanged(int id, std::string_view utf8) override;
        ControlUpdates SelectionChanged(int id, int index) override;
        ControlUpdates Clicked(int id) override;

      private:
        EditorSheet& sheet_;
        int page_;
    };

    template <typename F>
    ControlUpdates Recorded(int index, int textId, F&& change);
    void Push(Step step);

    TemplateDocument& doc_;
    FormPage forms_;
    MenuPage menus_;
    LookupPage lookups_;
    BarcodePage barcode_;
    StartupPage startup_;
    BarcodeSettings barcodeAtOpen_;
    std::array<bool, kPageCount> shown_{};
    std::array<PageState, kPageCount> initial_{};
    std::array<PageState, kPageCount> beforeDialog_{};
    std::vector<PageEvents> events_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
};

}  // namespace k52
