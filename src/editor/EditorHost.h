// What the editor sheet needs from the program around it.
#pragma once

#include "app/UserInterface.h"
#include "template/Template.h"

namespace k52 {

class EditorHost {
  public:
    virtual ~EditorHost() = default;
    // The confirmed forms are in the template and normalised: the simulated terminal recomputes what
    // it derives from the template and restarts at its main menu. Called once per OK of the sheet,
    // before the menus, lookup files, barcode settings and start-up settings are written back.
    virtual void TemplateApplied() = 0;
    // Where the sheet asks its questions (discard the changes? replace the form?); nullptr: its own boxes.
    virtual MessageBoxes* SheetMessages() { return nullptr; }
    // Test labels for `settings`, the barcode page's as it shows them (not yet confirmed).
    virtual void MakeTestLabels(const BarcodeSettings& /*settings*/) {}
};

}  // namespace k52
