// The field attributes dialog: one form line's flags, texts and numbers, put back on Cancel.
#include "editor/FieldAttributesDialog.h"

#include <string>

#include "template/Cp950.h"

namespace k52 {

namespace {
constexpr int kAttributeTextLimit = 9;
constexpr int kVerifyPrefixLimit = 6;
constexpr int kPartialLimit = 50;
}  // namespace

FieldAttributesDialog::FieldAttributesDialog(FormRecord& record, int formNumber, int line)
    : record_(record), backup_(record), formNumber_(formNumber), line_(line) {}

void FieldAttributesDialog::CorrectPartial() {
    if (record_.partialStart[line_] == 0) record_.partialStart[line_] = 1;
    u8& max = record_.partialMaxLength[line_];
    if (max == 0 || max > kPartialLimit) max = kPartialLimit;
}

void FieldAttributesDialog::OnInitialise() {
    backup_ = record_;
    FormRecord& r = record_;
    int i = line_;
    ShowText(kFormNumberLabel, std::to_string(formNumber_));
    ShowText(kLineNumberLabel, std::to_string(line_ + 1));
    Check(kFixedLengthCheck, r.fixedLength[i] != 0);
    Check(kInitialValueCheck, r.hasInitialValue[i] != 0);
    Check(kPrefixCheck, r.hasPrefix[i] != 0);
    Check(kSuffixCheck, r.hasSuffix[i] != 0);
    Check(kPartialCheck, r.partialBarcode[i] != 0);
    Check(kVerifyPrefixCheck, r.verifyPrefix[i] != 0);
    Check(kAutoAdvanceCheck, r.autoAdvance[i] != 0);
    ShowText(kFixedLengthBox, std::to_string(r.fixedLengthValue[i]));
    ShowCp950(kInitialValueBox, FieldText(r.initialValue[i]));
    ShowCp950(kPrefixBox, FieldText(r.prefix[i]));
    ShowCp950(kSuffixBox, FieldText(r.suffix[i]));
    ShowCp950(kVerifyPrefixBox, FieldText(r.verifyPrefixText[i]));
    Check(kAlignLeftRadio, r.alignment[i] == 0);
    Check(kAlignRightRadio, r.alignment[i] == 1);
    Enable(kAlignLeftRadio, r.fixedLength[i] != 0);
    Enable(kAlignRightRadio, r.fixedLength[i] != 0);
    CorrectPartial();
    ShowText(kPartialStartBox, std::to_string(r.partialStart[i]));
    ShowText(kPartialMaxBox, std::to_string(r.partialMaxLength[i]));
    Enable(kPartialStartBox, r.partialBarcode[i] != 0);
    Enable(kPartialMaxBox, r.partialBarcode[i] != 0);
}

void FieldAttributesDialog::OnClicked(int id) {
    FormRecord& r = record_;
    int i = line_;
    u8* flag = nullptr;
    switch (id) {
        case kFixedLengthCheck:
            flag = &r.fixedLength[i];
            break;
        case kInitialValueCheck:
            flag = &r.hasInitialValue[i];
            break;
        case kPrefixCheck:
            flag = &r.hasPrefix[i];
            break;
        case kSuffixCheck:
            flag = &r.hasSuffix[i];
            break;
        case kPartialCheck:
            flag = &r.partialBarcode[i];
            break;
        case kVerifyPrefixCheck:
            flag = &r.verifyPrefix[i];
            break;
        case kAutoAdvanceCheck:
            flag = &r.autoAdvance[i];
            break;
        case kAlignLeftRadio:
        case kAlignRightRadio:
            r.alignment[i] = id == kAlignLeftRadio ? 0 : 1;
            Check(kAlignLeftRadio, id == kAlignLeftRadio);
            Check(kAlignRightRadio, id == kAlignRightRadio);
            return;
        case kIdOk:
            CorrectPartial();
            Close(1);
            return;
        case kIdCancel:
            record_ = backup_;
            Close(0);
            return;
        default:
            return;
    }
    *flag = *flag ? 0 : 1;
    Check(id, *flag != 0);
    if (id == kFixedLengthCheck) {
        Enable(kAlignLeftRadio, *flag != 0);
        Enable(kAlignRightRadio, *flag != 0);
    } else if (id == kPartialCheck) {
        Enable(kPartialStartBox, *flag != 0);
        Enable(kPartialMaxBox, *flag != 0);
    }
}

void FieldAttributesDialog::NumberChanged(int id, std::string_view utf8, u8& field, const char* replacement) {
    auto number = ParseBoxNumber(utf8);
    if (!number) {
        if (!utf8.empty()) ReplaceText(id, replacement);
        return;
    }
    if (*number <= 255) field = static_cast<u8>(*number);
}

void FieldAttributesDialog::OnTextChanged(int id, std::string_view utf8) {
    FormRecord& r = record_;
    int i = line_;
    switch (id) {
        case kFixedLengthBox:
            NumberChanged(id, utf8, r.fixedLengthValue[i], "1");
            return;
        case kPartialStartBox:
            NumberChanged(id, utf8, r.partialStart[i], "1");
            return;
        case kPartialMaxBox:
            NumberChanged(id, utf8, r.partialMaxLength[i], "0");
            return;
        default:
            break;
    }
    u8* field = nullptr;
    std::size_t width = 10;
    std::size_t limit = kAttributeTextLimit;
    switch (id) {
        case kInitialValueBox:
            field = r.initialValue[i];
            break;
        case kPrefixBox:
            field = r.prefix[i];
            break;
        case kSuffixBox:
            field = r.suffix[i];
            break;
        case kVerifyPrefixBox:
            field = r.verifyPrefixText[i];
            width = limit = kVerifyPrefixLimit;
            break;
        default:
            return;
    }
    if (auto text = AcceptText(id, utf8, limit)) WriteFieldText(field, width, *text, limit);
}

}  // namespace k52
