// The form page (the sheet's first page): the ten forms' lines, targets and stamps.
#pragma once

#include <memory>

#include "app/TemplateCommands.h"
#include "editor/ControlLogic.h"
#include "editor/EditorHost.h"
#include "editor/FieldAttributesDialog.h"
#include "template/Template.h"

namespace k52 {

class FormPage : public SheetPage {
  public:
    enum : int {
        kFormList = 700,
        kEscapeList = 751,
        kNextList = 752,
        kDateStampList = 753,
        kTimeStampList = 754,
        kLookupFileList = 755,
        kDataActionList = 756,
        // Per line n = 1..4: base + n.
        kTypeListBase = 700,
        kPromptBoxBase = 600,
        kSourceListBase = 710,
        kMinLengthBoxBase = 610,
        kMaxLengthBoxBase = 620,
        kLookupFieldListBase = 720,
        kAdvancedButtonBase = 200,
        kCopyButton = 210,
    };
    static constexpr int kShownLines = 4;
    static constexpr int kPromptLimit = 15;
    static constexpr int kLengthLimit = 50;

    FormPage(TemplateDocument& doc, EditorHost& host) : doc_(doc), host_(host) {}

    // Writes the forms, marks the template modified, normalises it and hands it to the simulator.
    void Commit() override;
    void Discard() override { built_ = false; }
    PageState State() const override { return {BytesOf(forms_), current_}; }
    // Whether the commit marks the template modified; the sheet clears it for an opening without changes.
    void MarkModified(bool on) { marksModified_ = on; }

    int currentForm() const { return current_; }
    // Form `slot` (0-based) holds lines; copying onto it would replace them.
    bool SlotInUse(int slot) const { return slot >= 0 && slot < kFormCount && InUse(forms_[slot]); }
    // The current form, whole, onto `slot`, which then becomes the current form.
    ControlUpdates CopyTo(int slot);
    // The dialog behind button 200 + n, for line n (1..4) of the current form.
    std::unique_ptr<FieldAttributesDialog> FieldAttributes(int lineNumber);

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnSelectionChanged(int id, int index) override;
    void OnClicked(int id) override;
    void OnRestore(const PageState& state) override;

  private:
    FormRecord& form() { return forms_[current_]; }
    void ShowForm();
    void ApplyEnabling(int n);
    // The line (1..4) of a per-line control, or 0.
    static int LineOf(int id, int base) { return (id > base && id <= base + kShownLines) ? id - base : 0; }

    TemplateDocument& doc_;
    EditorHost& host_;
    bool built_ = false;
    bool marksModified_ = true;
    FormRecord forms_[kFormCount]{};
    int current_ = 0;
};

}  // namespace k52
