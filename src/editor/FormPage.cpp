// The form page: the ten forms' lines, targets and stamps, edited in a working copy until OK.
#include "editor/FormPage.h"

#include <algorithm>

#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

const std::vector<std::string> kDateStamps = {K52_TR("Editor", "無"),
                                              "+yyyy/mm/dd",
                                              "+mm/dd/yyyy",
                                              "+dd/mm/yyyy",
                                              "+yyyymmdd",
                                              "+mmddyyyy",
                                              "+ddmmyyyy",
                                              "yyyy/mm/dd+",
                                              "mm/dd/yyyy+",
                                              "dd/mm/yyyy+",
                                              "yyyymmdd+",
                                              "mmddyyyy+",
                                              "ddmmyyyy+"};
const std::vector<std::string> kTimeStamps = {K52_TR("Editor", "無"),
                                              "+hh:mm:ss",
                                              "+hh:mm",
                                              "+hhmmss",
                                              "+hhmm",
                                              "hh:mm:ss+",
                                              "hh:mm+",
                                              "hhmmss+",
                                              "hhmm+"};
const std::vector<std::string> kLookupFiles = {K52_TR("Editor", "無"), K52_TR("Editor", "第一索引檔"),
                                               K52_TR("Editor", "第二索引檔"),
                                               K52_TR("Editor", "第三索引檔")};
const std::vector<std::string> kDataActions = {K52_TR("Editor", "存入資料檔"), K52_TR("Editor", "更新索引檔"),
                                               K52_TR("Editor", "存入並更新"), K52_TR("Editor", "往下傳遞")};
const std::vector<std::string> kLineTypes = [] {
    std::vector<std::string> list;
    for (u8 t = 0; !LineTypeLabel(t).empty(); ++t) list.emplace_back(LineTypeLabel(t));
    return list;
}();
const std::vector<std::string> kInputSources = {K52_TR("Editor", "掃瞄器"), K52_TR("Editor", "鍵  盤"),
                                                K52_TR("Editor", "皆  可")};

std::vector<std::string> LookupFieldList() {
    std::vector<std::string> list = {K52_TR("Editor", "nil")};
    for (const std::string& s : NumberedList(K52_TR("Editor", "欄位 "), 1, kLookupFieldsPerFile))
        list.push_back(s);
    return list;
}

int Count(const std::vector<std::string>& list) {
    return static_cast<int>(list.size());
}

}  // namespace

// ---- Form page

void FormPage::OnInitialise() {
    built_ = true;
    std::copy(std::begin(doc_.tmpl.forms), std::end(doc_.tmpl.forms), forms_);
    current_ = 0;
    Fill(kFormList, NumberedList(K52_TR("Editor", "表單  "), 1, kFormCount));
    Select(kFormList, 0, kFormCount);
    FillShown(kEscapeList, TitledTargetList(doc_.tmpl.menus));
    FillShown(kNextList, TitledTargetList(doc_.tmpl.menus));
    Fill(kDateStampList, kDateStamps);
    Fill(kTimeStampList, kTimeStamps);
    Fill(kLookupFileList, kLookupFiles);
    Fill(kDataActionList, kDataActions);
    for (int n = 1; n <= kShownLines; ++n) {
        Fill(kTypeListBase + n, kLineTypes);
        Fill(kSourceListBase + n, kInputSources);
        Fill(kLookupFieldListBase + n, LookupFieldList());
    }
    ShowForm();
}

void FormPage::ShowForm() {
    FormRecord& f = form();
    Select(kEscapeList, f.escapeTarget, kTargetCount);
    Select(kNextList, f.nextTarget, kTargetCount);
    Select(kDateStampList, f.dateStamp, Count(kDateStamps));
    Select(kTimeStampList, f.timeStamp, Count(kTimeStamps));
    Select(kLookupFileList, f.lookupFile, Count(kLookupFiles));
    Select(kDataActionList, f.dataAction, Count(kDataActions));
    for (int n = 1; n <= kShownLines; ++n) {
        int i = n - 1;
        Select(kTypeListBase + n, f.lineType[i], Count(kLineTypes));
        Select(kSourceListBase + n, f.inputSource[i], Count(kInputSources));
        Select(kLookupFieldListBase + n, f.lookupField[i], kLookupFieldsPerFile + 1);
        ShowCp950(kPromptBoxBase + n, FieldText(f.prompt[i]));
        ShowText(kMinLengthBoxBase + n, std::to_string(f.minLength[i]));
        ShowText(kMaxLengthBoxBase + n, std::to_string(f.maxLength[i]));
        ApplyEnabling(n);
    }
}

// Disabled controls keep their values; the normalisation on OK decides which of them count.
void FormPage::ApplyEnabling(int n) {
    int t = form().lineType[n - 1];
    bool input = IsInputLineType(t);
    Enable(kPromptBoxBase + n, t != kLineNone && t != kLineContinuation);
    Enable(kAdvancedButtonBase + n, t >= kLineString && t <= kLineFixedData);
    Enable(kSourceListBase + n, input);
    Enable(kMinLengthBoxBase + n, input);
    Enable(kMaxLengthBoxBase + n, input);
    Enable(kLookupFieldListBase + n, input || t == kLineLookupRef);
}

void FormPage::OnSelectionChanged(int id, int index) {
    FormRecord& f = form();
    u8 value = static_cast<u8>(index);
    switch (id) {
        case kFormList:
            if (index != current_ && index < kFormCount) {
                current_ = index;
                ShowForm();
            }
            return;
        case kEscapeList:
            f.escapeTarget = value;
            return;
        case kNextList:
            f.nextTarget = value;
            return;
        case kDateStampList:
            f.dateStamp = value;
            return;
        case kTimeStampList:
            f.timeStamp = value;
            return;
        case kLookupFileList:
            f.lookupFile = value;
            return;
        case kDataActionList:
            f.dataAction = value;
            return;
        default:
            break;
    }
    if (int type = LineOf(id, kTypeListBase)) {
        f.lineType[type - 1] = value;
        ApplyEnabling(type);
    } else if (int source = LineOf(id, kSourceListBase)) {
        f.inputSource[source - 1] = value;
    } else if (int lookup = LineOf(id, kLookupFieldListBase)) {
        f.lookupField[lookup - 1] = value;
    }
}

void FormPage::OnTextChanged(int id, std::string_view utf8) {
    FormRecord& f = form();
    if (int n = LineOf(id, kPromptBoxBase)) {
        if (auto text = AcceptText(id, utf8, kPromptLimit))
            WriteFieldText(f.prompt[n - 1], *text, kPromptLimit);
        return;
    }
    u8* field = nullptr;
    if (int shortest = LineOf(id, kMinLengthBoxBase))
        field = &f.minLength[shortest - 1];
    else if (int longest = LineOf(id, kMaxLengthBoxBase))
        field = &f.maxLength[longest - 1];
    // A larger number is ignored; the minimum and maximum are reconciled by the normalisation on OK.
    if (field) AcceptNumber(id, utf8, *field, kLengthLimit);
}

void FormPage::OnClicked(int id) {
    if (LineOf(id, kAdvancedButtonBase) || id == kCopyButton) RequestOpen(id);
}

void FormPage::OnRestore(const PageState& state) {
    ReadBytes(state.bytes, 0, forms_);
    current_ = std::clamp(state.current, 0, kFormCount - 1);
    Select(kFormList, current_, kFormCount);
    ShowForm();
}

ControlUpdates FormPage::CopyTo(int slot) {
    return Run([&] {
        if (slot < 0 || slot >= kFormCount || slot == current_) return;
        forms_[slot] = forms_[current_];
        current_ = slot;
        Select(kFormList, current_, kFormCount);
        ShowForm();
    });
}

std::unique_ptr<FieldAttributesDialog> FormPage::FieldAttributes(int lineNumber) {
    if (lineNumber < 1 || lineNumber > kShownLines) return nullptr;
    return std::make_unique<FieldAttributesDialog>(form(), current_ + 1, lineNumber - 1);
}

void FormPage::Commit() {
    if (!built_) return;
    std::copy(std::begin(forms_), std::end(forms_), doc_.tmpl.forms);
    if (marksModified_) doc_.templateModified = true;
    NormaliseTemplate(doc_.tmpl);
    host_.TemplateApplied();
    built_ = false;
}

}  // namespace k52
