// New-template reset, normalisation, derived fields, target codes, the barcode defaults and the start-up
// template.
#include "template/Defaults.h"

#include <cstring>

#include "i18n/Translate.h"

namespace k52 {

const u8 kDefaultBarcodeSettings[24] = {0x9B, 0xC9, 0x00, 0x00, 0x00, 0x2D, 0x54, 0x80,
                                        0x00, 0x19, 0x3D, 0x00, 0xFF, 0x01, 0xFF, 0x01,
                                        0xFF, 0x01, 0xFF, 0x01, 0x66, 0x03, 0x03, 0x00};

void ApplyBarcodeDefaults(ApplicationTemplate& t) {
    std::memcpy(t.barcodeSettings.bytes(), kDefaultBarcodeSettings, sizeof kDefaultBarcodeSettings);
}

ApplicationTemplate StartupTemplate() {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    return t;
}

void NewTemplateReset(ApplicationTemplate& t) {
    for (MenuRecord& m : t.menus) {
        m.narrowRows = m.showTitle = m.escapeTarget = 0;
        m.storeTitle = m.storeSelection = m.passDown = 0;
        m.optionCount = m.currentOption = m.menuRunSpare = 0;
        std::memset(m.optionTargets, 0, sizeof m.optionTargets);
        m.title[0] = 0;
        for (auto& option : m.options) option[0] = 0;
    }
    for (int n = 1; n <= kFormCount; ++n) {
        FormRecord& f = t.form(n);
        f.narrowRows = f.escapeTarget = f.dateStamp = f.timeStamp = 0;
        f.dataAction = f.lookupFile = f.lastInputLine = f.currentLine = 0;
        f.nextTarget = FormTarget(n);
        for (int i = 0; i < kLinesPerForm; ++i) {
            f.lineType[i] = f.lookupField[i] = f.minLength[i] = 0;
            f.inputSource[i] = 2;
            f.maxLength[i] = 50;
            f.fixedLength[i] = f.alignment[i] = f.fixedLengthValue[i] = 0;
            f.hasInitialValue[i] = f.hasPrefix[i] = f.hasSuffix[i] = 0;
            f.partialBarcode[i] = f.partialStart[i] = 0;
            f.partialMaxLength[i] = 20;
            f.verifyPrefix[i] = 0;
            f.autoAdvance[i] = 1;
            f.lineSpare[i] = 0;
            f.prompt[i][0] = f.initialValue[i][0] = f.prefix[i][0] = f.suffix[i][0] = 0;
            f.verifyPrefixText[i][0] = 0;
        }
    }
    for (LookupFileRecord& l : t.lookupFiles) {
        l.recordLength = l.fieldCount = l.keyField = 0;
        std::memset(l.fieldStart, 1, sizeof l.fieldStart);
        std::memset(l.fieldLength, 0, sizeof l.fieldLength);
    }
    t.startPosition = 0;
    t.fieldSeparators.separator1 = 44;
    t.fieldSeparators.separator2 = 0;
    std::memset(&t.startupSettings, 0, sizeof t.startupSettings);
    t.startupSettings.setting4 = 50;
    std::memset(t.securityPassword, 0, sizeof t.securityPassword);
}

void NormaliseTemplate(ApplicationTemplate& t) {
    for (FormRecord& f : t.forms) {
        if (f.narrowRows != 0)
            for (int i = 4; i < kLinesPerForm; ++i) f.lineType[i] = kLineNone;
        for (int i = 0; i < kLinesPerForm; ++i) {
            if (f.maxLength[i] > 50) f.maxLength[i] = 50;
            if (f.minLength[i] > f.maxLength[i]) f.minLength[i] = f.maxLength[i];
            if (f.lineType[i] == kLineNone || f.lineType[i] == kLineContinuation) {
                f.prompt[i][0] = 0;
                f.lookupField[i] = 0;
            }
            if (f.lineType[i] == kLineFixedData || f.lineType[i] == kLinePromptOnly) f.lookupField[i] = 0;
        }
    }
}

int CountShownOptions(const MenuRecord& m) {
    const int w = m.narrowRows ? 15 : 20;
    int count = 0;
    for (const auto& option : m.options) {
        // The first byte that is not a blank decides; a NUL ends the text.
        for (int i = 0; i < w && option[i] != 0; ++i) {
            if (option[i] > 0x20) {
                ++count;
                break;
            }
        }
    }
    return count;
}

void DeriveFormFields(FormRecord& f) {
    int last = 0;
    for (int i = 0; i < kLinesPerForm; ++i) {
        if (f.lineType[i] == kLineNone || f.lineType[i] == kLineContinuation) {
            f.prompt[i][0] = 0;
            f.lookupField[i] = 0;
        }
        if (IsInputLineType(f.lineType[i])) last = i + 1;
    }
    f.lastInputLine = static_cast<u8>(last);
}

void DeriveTemplateFields(ApplicationTemplate& t) {
    for (MenuRecord& m : t.menus) m.optionCount = static_cast<u8>(CountShownOptions(m));
    for (FormRecord& f : t.forms) DeriveFormFields(f);
}

Target DecodeTarget(u8 code) {
    if (code == 0) return {TargetKind::MainMenu, 0};
    if (code <= 10) return {TargetKind::Form, code};
    if (code <= 20) return {TargetKind::Menu, code - 10};
    return {TargetKind::Invalid, 0};
}

std::string_view LineTypeLabel(u8 type) {
    static constexpr std::string_view kLabels[] = {
        K52_TR("Editor", "無"),   K52_TR("Editor", "字串"),       K52_TR("Editor", "數字"),
        K52_TR("Editor", "實數"), K52_TR("Editor", "英文字母"),   K52_TR("Editor", "固定資料"),
        K52_TR("Editor", "提示"), K52_TR("Editor", "參考索引檔"), K52_TR("Editor", "延續上一行")};
    return type < std::size(kLabels) ? kLabels[type] : std::string_view{};
}

std::string TargetLabel(u8 code) {
    Target target = DecodeTarget(code);
    switch (target.kind) {
        case TargetKind::MainMenu:
            return K52_TR("Editor", "主選單");
        case TargetKind::Form:
            return K52_TR("Editor", "表單  ") + std::to_string(target.number);
        case TargetKind::Menu:
            return K52_TR("Editor", "選單  ") + std::to_string(target.number);
        case TargetKind::Invalid:
            break;
    }
    return {};
}

}  // namespace k52
