// The barcode settings page: symbology enable flags and scan settings. It keeps no copy of the block:
// its pending state is what its controls show, written at OK. Its option buttons open the symbology
// dialogs, which write into the block at their own OK.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/ControlLogic.h"
#include "editor/SymbologyDialog.h"
#include "template/Template.h"

namespace k52 {

class BarcodePage : public SheetPage {
  public:
    enum : int {
        kScanModeList = 701,
        kRedundancyList = 702,
        kTimeoutBox = 601,
        kLabelsButton = 230,
    };

    explicit BarcodePage(BarcodeSettings& block);

    void Commit() override;
    // The block as OK would write it now.
    BarcodeSettings Pending() const;
    void Discard() override { built_ = false; }
    // The block itself belongs to the state: the option dialogs write into it at their OK.
    PageState State() const override;

    // The dialog behind an options button (201..219), or null for another id.
    std::unique_ptr<SymbologyDialog> OptionsDialog(int buttonId);

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnSelectionChanged(int id, int index) override;
    void OnClicked(int id) override;
    void OnRestore(const PageState& state) override;

  private:
    void ShowAll();
    void WriteInto(BarcodeSettings& block) const;
    struct CheckState {
        const BarcodeField* field;
        bool marked;
    };

    BarcodeSettings& block_;
    bool built_ = false;
    std::vector<CheckState> checks_;
    int scanMode_ = -1;
    int redundancy_ = -1;
    std::string timeoutText_;
};

}  // namespace k52
