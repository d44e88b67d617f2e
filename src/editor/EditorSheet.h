// The editor sheet: five pages over one template, each building its working state when first shown and
// writing it back, in page order, when the sheet is confirmed.
#pragma once

#include <array>
#include <string_view>

#include "app/TemplateCommands.h"
#include "editor/BarcodePage.h"
#include "editor/EditorHost.h"
#include "editor/FormPage.h"
#include "editor/LookupPage.h"
#include "editor/MenuPage.h"
#include "editor/StartupPage.h"

namespace k52 {

class EditorSheet {
  public:
    enum PageIndex : int { kFormPage, kMenuPage, kLookupPage, kBarcodePage, kStartupPage, kPageCount };

    static constexpr std::string_view kCaption = "Application Template";
    static std::string_view TabCaption(int page);

    EditorSheet(TemplateDocument& doc, EditorHost& host);

    SheetPage& page(int index);
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

    // OK: every page shown commits, forms first. The sheet opens on the form page, so it always commits.
    void Confirm();
    // Cancel: all working state is dropped.
    void Cancel();

  private:
    FormPage forms_;
    MenuPage menus_;
    LookupPage lookups_;
    BarcodePage barcode_;
    StartupPage startup_;
    std::array<bool, kPageCount> shown_{};
};

}  // namespace k52
