// The twelve symbology option dialogs, described by one table and run by one class. Each writes its bits
// of the barcode block at its own OK, through the barcode bit table.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "editor/ControlLogic.h"
#include "template/BarcodeFields.h"
#include "template/Template.h"

namespace k52 {

enum class SymbologyItemKind {
    Check,    // one check box
    Radio,    // a group of radio buttons with consecutive ids; the field holds the button's position
    Length,   // the length requirement group, its two labels 501/502 and the edits 601/602
    Codabar,  // "none" plus four start/stop forms, stored in two fields
};

struct SymbologyItem {
    SymbologyItemKind kind;
    int firstId;                            // the check box, or the group's first radio button
    std::string_view caption;               // check box label or group caption
    std::vector<std::string_view> buttons;  // radio button labels
};

struct SymbologyDialogInfo {
    std::string_view name;  // owner name in the barcode bit table
    std::string_view title;
    int pageButton;                    // the barcode page's button that opens it
    std::vector<SymbologyItem> items;  // in the order the dialog shows them
};

std::span<const SymbologyDialogInfo> SymbologyDialogs();
const SymbologyDialogInfo* FindSymbologyDialog(int pageButton);

class SymbologyDialog : public ControlLogic {
  public:
    enum : int {
        kFirstLengthLabel = 501,
        kSecondLengthLabel = 502,
        kFirstLengthBox = 601,
        kSecondLengthBox = 602,
    };
    static constexpr int kMaxLength = 127;

    SymbologyDialog(BarcodeSettings& block, const SymbologyDialogInfo& info);
    const SymbologyDialogInfo& info() const { return info_; }

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnClicked(int id) override;

  private:
    struct Item {
        const SymbologyItem* item;
        const BarcodeField* field;   // the check box's bit, the group's field, or Codabar's transmit flag
        const BarcodeField* second;  // Codabar's start/stop form; the length group's length1
        const BarcodeField* third;   // the length group's length2
        int buttons;
        int selected;  // check box: 0/1; radio group: id of the selected button, 0 for none
    };

    void ShowGroup(const Item& g);
    void ShowLengthLabels(const Item& g);
    void Write();

    BarcodeSettings& block_;
    const SymbologyDialogInfo& info_;
    std::vector<Item> items_;
    int firstLength_ = 0;
    int secondLength_ = 0;
};

}  // namespace k52
