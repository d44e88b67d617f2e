// The lookup page: record layout of the three lookup files, one at a time, on a working copy.
#pragma once

#include "editor/ControlLogic.h"
#include "template/Template.h"

namespace k52 {

class LookupPage : public SheetPage {
  public:
    enum : int {
        kFileList = 700,
        kRecordLengthBox = 609,
        kFieldCountList = 701,
        // Per field row n = 1..8: base + n.
        kStartBoxBase = 600,
        kLengthBoxBase = 610,
        kKeyRadioBase = 400,
        kPreviewButton = 220,
    };
    static constexpr int kNumberLimit = 250;

    explicit LookupPage(ApplicationTemplate& t) : t_(t) {}

    void Commit() override;
    void Discard() override { built_ = false; }
    PageState State() const override { return {BytesOf(files_), current_}; }
    int currentFile() const { return current_; }
    // The layout being edited of the file shown, for the preview of a sample file.
    const LookupFileRecord& shownLayout() const { return files_[current_]; }

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnSelectionChanged(int id, int index) override;
    void OnClicked(int id) override;
    void OnRestore(const PageState& state) override;

  private:
    LookupFileRecord& file() { return files_[current_]; }
    void ShowFile();
    void EnableRows();

    ApplicationTemplate& t_;
    bool built_ = false;
    LookupFileRecord files_[kLookupFileCount]{};
    int current_ = 0;
};

}  // namespace k52
