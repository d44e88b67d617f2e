// The application template: nine fixed-layout blocks whose bytes are the stored file format and the
// source of the download image. Every field is a single byte or a byte array, so the structs have no
// padding and a block is read or written by copying its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace k52 {

using u8 = std::uint8_t;

constexpr int kMenuCount = 10;
constexpr int kFormCount = 10;
constexpr int kLookupFileCount = 3;
constexpr int kLinesPerForm = 8;
constexpr int kOptionsPerMenu = 10;
constexpr int kLookupFieldsPerFile = 8;

struct PortSettings {
    u8 comPort;   // 0..5 = COM1..COM6
    u8 baudRate;  // 0 = 115200, 1 = 57600, 2 = 38400, 3 = 19200, 4 = 9600
};

// Bit 7 of `first` is lengthMode (1 = max/min, 0 = two fixed lengths), bits 6-0 are length1.
struct LengthPair {
    u8 first;
    u8 length2;

    int lengthMode() const { return (first >> 7) & 1; }
    int length1() const { return first & 0x7F; }
    void set(int mode, int len1, int len2) {
        first = static_cast<u8>(((mode & 1) << 7) | (len1 & 0x7F));
        length2 = static_cast<u8>(len2);
    }
};

struct BarcodeSettings {
    u8 symbologyFlags0;
    u8 symbologyFlags1;
    u8 symbologyFlags2;
    u8 spare3;
    u8 spare4;
    u8 optionFlags5;
    u8 optionFlags6;
    u8 optionFlags7;
    u8 spare8;
    u8 optionFlags9;
    u8 optionFlags10;
    u8 optionFlags11;
    LengthPair industrial25Lengths;
    LengthPair interleave25Lengths;
    LengthPair matrix25Lengths;
    LengthPair msiLengths;
    u8 scanModeSetting;  // bits 7-4 scanMode, bits 3-0 scanSetting
    u8 scanTimeout;
    u8 setting22;
    u8 spare23;

    u8* bytes() { return reinterpret_cast<u8*>(this); }
    const u8* bytes() const { return reinterpret_cast<const u8*>(this); }
    int scanMode() const { return scanModeSetting >> 4; }
    int scanSetting() const { return scanModeSetting & 0x0F; }
};

struct MenuRecord {
    u8 narrowRows;
    u8 showTitle;
    u8 title[21];
    u8 options[kOptionsPerMenu][21];
    u8 escapeTarget;
    u8 optionTargets[kOptionsPerMenu];
    u8 storeTitle;
    u8 storeSelection;
    u8 passDown;
    u8 optionCount;
    u8 currentOption;
    u8 menuRunSpare;
};

struct FormRecord {
    u8 narrowRows;
    u8 escapeTarget;
    u8 nextTarget;
    u8 dateStamp;
    u8 timeStamp;
    u8 dataAction;
    u8 lookupFile;
    u8 lookupField[kLinesPerForm];
    u8 lineType[kLinesPerForm];
    u8 prompt[kLinesPerForm][21];
    u8 inputSource[kLinesPerForm];
    u8 minLength[kLinesPerForm];
    u8 maxLength[kLinesPerForm];
    u8 fixedLength[kLinesPerForm];
    u8 alignment[kLinesPerForm];
    u8 fixedLengthValue[kLinesPerForm];
    u8 hasInitialValue[kLinesPerForm];
    u8 initialValue[kLinesPerForm][10];
    u8 hasPrefix[kLinesPerForm];
    u8 prefix[kLinesPerForm][10];
    u8 hasSuffix[kLinesPerForm];
    u8 suffix[kLinesPerForm][10];
    u8 partialBarcode[kLinesPerForm];
    u8 partialStart[kLinesPerForm];
    u8 partialMaxLength[kLinesPerForm];
    u8 verifyPrefix[kLinesPerForm];
    u8 verifyPrefixText[kLinesPerForm][6];
    u8 autoAdvance[kLinesPerForm];
    u8 lineSpare[kLinesPerForm];
    u8 lastInputLine;
    u8 currentLine;
};

struct LookupFileRecord {
    u8 recordLength;
    u8 fieldCount;
    u8 keyField;
    u8 fieldStart[kLookupFieldsPerFile];
    u8 fieldLength[kLookupFieldsPerFile];

    bool defined() const { return recordLength != 0 && fieldCount != 0; }
};

struct FieldSeparators {
    u8 separator1;
    u8 separator2;
};

struct StartupSettings {
    u8 uploadPort;
    u8 downloadPort;
    u8 transferSpeed;
    u8 backlight;
    u8 setting4;
    u8 deleteMode;
    u8 recordCountPrompt;
    u8 setting7;
    u8 passwordGuard[12];
};

// Line types of a form line.
enum LineType : u8 {
    kLineNone = 0,
    kLineString = 1,
    kLineNumeric = 2,
    kLineReal = 3,
    kLineAlpha = 4,
    kLineFixedData = 5,
    kLinePromptOnly = 6,
    kLineLookupRef = 7,
    kLineContinuation = 8,
};

inline bool IsInputLineType(int t) {
    return t >= kLineString && t <= kLineAlpha;
}

// A form with a line, a menu with a title or an option: a record that holds the user's work.
inline bool InUse(const FormRecord& form) {
    for (u8 type : form.lineType)
        if (type != kLineNone) return true;
    return false;
}
inline bool InUse(const MenuRecord& menu) {
    if (menu.title[0] != 0) return true;
    for (const auto& option : menu.options)
        if (option[0] != 0) return true;
    return false;
}

struct ApplicationTemplate {
    PortSettings portSettings;
    u8 startPosition;
    BarcodeSettings barcodeSettings;
    MenuRecord menus[kMenuCount];
    FormRecord forms[kFormCount];
    LookupFileRecord lookupFiles[kLookupFileCount];
    FieldSeparators fieldSeparators;
    StartupSettings startupSettings;
    u8 securityPassword[10];

    // 1-based, as the user counts them. Out-of-range numbers are a programming error.
    MenuRecord& menu(int n) { return menus[Index(n, kMenuCount)]; }
    const MenuRecord& menu(int n) const { return menus[Index(n, kMenuCount)]; }
    FormRecord& form(int n) { return forms[Index(n, kFormCount)]; }
    const FormRecord& form(int n) const { return forms[Index(n, kFormCount)]; }
    LookupFileRecord& lookupFile(int n) { return lookupFiles[Index(n, kLookupFileCount)]; }
    const LookupFileRecord& lookupFile(int n) const { return lookupFiles[Index(n, kLookupFileCount)]; }

    u8* bytes() { return reinterpret_cast<u8*>(this); }
    const u8* bytes() const { return reinterpret_cast<const u8*>(this); }

  private:
    static int Index(int n, int count) { return (n >= 1 && n <= count) ? n - 1 : 0; }
};

constexpr std::size_t kTemplateSize = 8626;

// ---- Layout checks: these offsets are the stored format and the terminal's format.
static_assert(sizeof(PortSettings) == 2);
static_assert(sizeof(LengthPair) == 2);
static_assert(sizeof(BarcodeSettings) == 24);
static_assert(offsetof(BarcodeSettings, optionFlags5) == 5);
static_assert(offsetof(BarcodeSettings, optionFlags11) == 11);
static_assert(offsetof(BarcodeSettings, industrial25Lengths) == 12);
static_assert(offsetof(BarcodeSettings, interleave25Lengths) == 14);
static_assert(offsetof(BarcodeSettings, matrix25Lengths) == 16);
static_assert(offsetof(BarcodeSettings, msiLengths) == 18);
static_assert(offsetof(BarcodeSettings, scanModeSetting) == 20);
static_assert(offsetof(BarcodeSettings, scanTimeout) == 21);
static_assert(offsetof(BarcodeSettings, setting22) == 22);
static_assert(offsetof(BarcodeSettings, spare23) == 23);

static_assert(sizeof(MenuRecord) == 250);
static_assert(offsetof(MenuRecord, showTitle) == 1);
static_assert(offsetof(MenuRecord, title) == 2);
static_assert(offsetof(MenuRecord, options) == 23);
static_assert(offsetof(MenuRecord, escapeTarget) == 233);
static_assert(offsetof(MenuRecord, optionTargets) == 234);
static_assert(offsetof(MenuRecord, storeTitle) == 244);
static_assert(offsetof(MenuRecord, storeSelection) == 245);
static_assert(offsetof(MenuRecord, passDown) == 246);
static_assert(offsetof(MenuRecord, optionCount) == 247);
static_assert(offsetof(MenuRecord, currentOption) == 248);
static_assert(offsetof(MenuRecord, menuRunSpare) == 249);

static_assert(sizeof(FormRecord) == 601);
static_assert(offsetof(FormRecord, escapeTarget) == 1);
static_assert(offsetof(FormRecord, nextTarget) == 2);
static_assert(offsetof(FormRecord, dateStamp) == 3);
static_assert(offsetof(FormRecord, timeStamp) == 4);
static_assert(offsetof(FormRecord, dataAction) == 5);
static_assert(offsetof(FormRecord, lookupFile) == 6);
static_assert(offsetof(FormRecord, lookupField) == 7);
static_assert(offsetof(FormRecord, lineType) == 15);
static_assert(offsetof(FormRecord, prompt) == 23);
static_assert(offsetof(FormRecord, inputSource) == 191);
static_assert(offsetof(FormRecord, minLength) == 199);
static_assert(offsetof(FormRecord, maxLength) == 207);
static_assert(offsetof(FormRecord, fixedLength) == 215);
static_assert(offsetof(FormRecord, alignment) == 223);
static_assert(offsetof(FormRecord, fixedLengthValue) == 231);
static_assert(offsetof(FormRecord, hasInitialValue) == 239);
static_assert(offsetof(FormRecord, initialValue) == 247);
static_assert(offsetof(FormRecord, hasPrefix) == 327);
static_assert(offsetof(FormRecord, prefix) == 335);
static_assert(offsetof(FormRecord, hasSuffix) == 415);
static_assert(offsetof(FormRecord, suffix) == 423);
static_assert(offsetof(FormRecord, partialBarcode) == 503);
static_assert(offsetof(FormRecord, partialStart) == 511);
static_assert(offsetof(FormRecord, partialMaxLength) == 519);
static_assert(offsetof(FormRecord, verifyPrefix) == 527);
static_assert(offsetof(FormRecord, verifyPrefixText) == 535);
static_assert(offsetof(FormRecord, autoAdvance) == 583);
static_assert(offsetof(FormRecord, lineSpare) == 591);
static_assert(offsetof(FormRecord, lastInputLine) == 599);
static_assert(offsetof(FormRecord, currentLine) == 600);

static_assert(sizeof(LookupFileRecord) == 19);
static_assert(offsetof(LookupFileRecord, fieldStart) == 3);
static_assert(offsetof(LookupFileRecord, fieldLength) == 11);
static_assert(sizeof(FieldSeparators) == 2);
static_assert(sizeof(StartupSettings) == 20);
static_assert(offsetof(StartupSettings, setting4) == 4);
static_assert(offsetof(StartupSettings, deleteMode) == 5);
static_assert(offsetof(StartupSettings, recordCountPrompt) == 6);
static_assert(offsetof(StartupSettings, setting7) == 7);
static_assert(offsetof(StartupSettings, passwordGuard) == 8);

static_assert(sizeof(ApplicationTemplate) == kTemplateSize);
static_assert(offsetof(ApplicationTemplate, startPosition) == 2);
static_assert(offsetof(ApplicationTemplate, barcodeSettings) == 3);
static_assert(offsetof(ApplicationTemplate, menus) == 27);
static_assert(offsetof(ApplicationTemplate, forms) == 2527);
static_assert(offsetof(ApplicationTemplate, lookupFiles) == 8537);
static_assert(offsetof(ApplicationTemplate, fieldSeparators) == 8594);
static_assert(offsetof(ApplicationTemplate, startupSettings) == 8596);
static_assert(offsetof(ApplicationTemplate, securityPassword) == 8616);

// ---- TargetCode: where control goes next.
enum class TargetKind { MainMenu, Form, Menu, Invalid };

struct Target {
    TargetKind kind;
    int number;  // 1-based form or menu number; 0 for the main menu or an invalid code
};

Target DecodeTarget(u8 code);
// Editor label in UTF-8: "主選單", "表單  n", "選單  n"; empty for a code above 20.
std::string TargetLabel(u8 code);
// The editor's name of a line type ("字串", ...), empty for a code outside the list.
std::string_view LineTypeLabel(u8 type);
constexpr u8 FormTarget(int n) {
    return static_cast<u8>(n);
}
constexpr u8 MenuTarget(int n) {
    return static_cast<u8>(10 + n);
}

}  // namespace k52
