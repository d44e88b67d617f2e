// The lookup page: the three lookup files' record layouts, edited in a working copy until OK.
#include "editor/LookupPage.h"

#include <algorithm>
#include "i18n/Translate.h"

namespace k52 {

void LookupPage::OnInitialise() {
    built_ = true;
    std::copy(std::begin(t_.lookupFiles), std::end(t_.lookupFiles), files_);
    current_ = 0;
    Fill(kFileList,
         {K52_TR("Editor", "第一索引檔"), K52_TR("Editor", "第二索引檔"), K52_TR("Editor", "第三索引檔")});
    Select(kFileList, 0, kLookupFileCount);
    Fill(kFieldCountList, NumberedList(" ", 0, kLookupFieldsPerFile));
    ShowFile();
}

void LookupPage::ShowFile() {
    LookupFileRecord& f = file();
    ShowText(kRecordLengthBox, std::to_string(f.recordLength));
    Select(kFieldCountList, f.fieldCount, kLookupFieldsPerFile + 1);
    for (int n = 1; n <= kLookupFieldsPerFile; ++n) {
        ShowText(kStartBoxBase + n, std::to_string(f.fieldStart[n - 1]));
        ShowText(kLengthBoxBase + n, std::to_string(f.fieldLength[n - 1]));
        Check(kKeyRadioBase + n, f.keyField == n - 1);
    }
    EnableRows();
}

// Rows beyond the field count are disabled but keep their values.
void LookupPage::EnableRows() {
    int count = file().fieldCount;
    for (int n = 1; n <= kLookupFieldsPerFile; ++n) {
        bool on = n <= count;
        Enable(kStartBoxBase + n, on);
        Enable(kLengthBoxBase + n, on);
        Enable(kKeyRadioBase + n, on);
    }
}

void LookupPage::OnSelectionChanged(int id, int index) {
    if (id == kFileList && index < kLookupFileCount) {
        current_ = index;
        ShowFile();
    } else if (id == kFieldCountList) {
        file().fieldCount = static_cast<u8>(index);
        EnableRows();
    }
}

void LookupPage::OnClicked(int id) {
    if (id == kPreviewButton) {
        RequestOpen(id);
        return;
    }
    int n = id - kKeyRadioBase;
    if (n < 1 || n > kLookupFieldsPerFile) return;
    file().keyField = static_cast<u8>(n - 1);
    for (int k = 1; k <= kLookupFieldsPerFile; ++k) Check(kKeyRadioBase + k, k == n);
}

void LookupPage::OnTextChanged(int id, std::string_view utf8) {
    LookupFileRecord& f = file();
    u8* field = nullptr;
    if (id == kRecordLengthBox)
        field = &f.recordLength;
    else if (id > kStartBoxBase && id <= kStartBoxBase + kLookupFieldsPerFile)
        field = &f.fieldStart[id - kStartBoxBase - 1];
    else if (id > kLengthBoxBase && id <= kLengthBoxBase + kLookupFieldsPerFile)
        field = &f.fieldLength[id - kLengthBoxBase - 1];
    if (field) AcceptNumber(id, utf8, *field, kNumberLimit);
}

void LookupPage::OnRestore(const PageState& state) {
    ReadBytes(state.bytes, 0, files_);
    current_ = std::clamp(state.current, 0, kLookupFileCount - 1);
    Select(kFileList, current_, kLookupFileCount);
    ShowFile();
}

void LookupPage::Commit() {
    if (!built_) return;
    std::copy(std::begin(files_), std::end(files_), t_.lookupFiles);
    built_ = false;
}

}  // namespace k52
