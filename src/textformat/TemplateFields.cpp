// The one table of the text format's keys: where each field's bytes are, its width and its editor range.
#include "textformat/TemplateFields.h"

#include <algorithm>
#include <cstddef>

#include "template/Template.h"

namespace k52 {
namespace {

constexpr int kAny = -1;
constexpr int kTargetMax = 20;  // the editor's target list: main menu, forms 1..10, menus 1..10

constexpr FieldSpec Num(const char* key, std::size_t offset, int lo = 0, int hi = kAny) {
    return {key, FieldKind::Number, offset, 0, 1, lo, hi};
}
constexpr FieldSpec Nums(const char* key, std::size_t offset, int count, int lo = 0, int hi = kAny) {
    return {key, FieldKind::Number, offset, count, 1, lo, hi};
}
constexpr FieldSpec Flag(const char* key, std::size_t offset) {
    return Num(key, offset, 0, 1);
}
constexpr FieldSpec Flags(const char* key, std::size_t offset, int count) {
    return Nums(key, offset, count, 0, 1);
}
constexpr FieldSpec Text(const char* key, std::size_t offset, std::size_t width, int limit) {
    return {key, FieldKind::Text, offset, 0, width, 0, limit};
}
constexpr FieldSpec Texts(const char* key, std::size_t offset, int count, std::size_t width, int limit) {
    return {key, FieldKind::Text, offset, count, width, 0, limit};
}

#define AT(type, field) offsetof(type, field)

const FieldSpec kPortFields[] = {
    Num("comPort", AT(PortSettings, comPort), 0, 5),
    Num("baudRate", AT(PortSettings, baudRate), 0, 4),
};
const FieldSpec kStartPosition[] = {Num("startPosition", 0, 0, 1)};
const FieldSpec kBarcode[] = {
    {"barcodeSettings", FieldKind::BarcodeHex, 0, 0, sizeof(BarcodeSettings), 0, kAny}};

const FieldSpec kMenuFields[] = {
    Num("narrowRows", AT(MenuRecord, narrowRows)),
    Flag("showTitle", AT(MenuRecord, showTitle)),
    Text("title", AT(MenuRecord, title), 21, 15),
    Texts("options", AT(MenuRecord, options), kOptionsPerMenu, 21, 15),
    Num("escapeTarget", AT(MenuRecord, escapeTarget), 0, kTargetMax),
    Nums("optionTargets", AT(MenuRecord, optionTargets), kOptionsPerMenu, 0, kTargetMax),
    Flag("storeTitle", AT(MenuRecord, storeTitle)),
    Flag("storeSelection", AT(MenuRecord, storeSelection)),
    Flag("passDown", AT(MenuRecord, passDown)),
    Num("optionCount", AT(MenuRecord, optionCount)),
    Num("currentOption", AT(MenuRecord, currentOption)),
    Num("menuRunSpare", AT(MenuRecord, menuRunSpare)),
};

constexpr int kLines = kLinesPerForm;
const FieldSpec kFormFields[] = {
    Num("narrowRows", AT(FormRecord, narrowRows)),
    Num("escapeTarget", AT(FormRecord, escapeTarget), 0, kTargetMax),
    Num("nextTarget", AT(FormRecord, nextTarget), 0, kTargetMax),
    Num("dateStamp", AT(FormRecord, dateStamp), 0, 12),
    Num("timeStamp", AT(FormRecord, timeStamp), 0, 8),
    Num("dataAction", AT(FormRecord, dataAction), 0, 3),
    Num("lookupFile", AT(FormRecord, lookupFile), 0, 3),
    Num("lastInputLine", AT(FormRecord, lastInputLine)),
    Num("currentLine", AT(FormRecord, currentLine)),
    Nums("lookupField", AT(FormRecord, lookupField), kLines, 0, 8),
    Nums("lineType", AT(FormRecord, lineType), kLines, 0, 8),
    Texts("prompt", AT(FormRecord, prompt), kLines, 21, 15),
    Nums("inputSource", AT(FormRecord, inputSource), kLines, 0, 2),
    Nums("minLength", AT(FormRecord, minLength), kLines, 0, 50),
    Nums("maxLength", AT(FormRecord, maxLength), kLines, 0, 50),
    Flags("fixedLength", AT(FormRecord, fixedLength), kLines),
    Nums("alignment", AT(FormRecord, alignment), kLines, 0, 1),
    Nums("fixedLengthValue", AT(FormRecord, fixedLengthValue), kLines),
    Flags("hasInitialValue", AT(FormRecord, hasInitialValue), kLines),
    Texts("initialValue", AT(FormRecord, initialValue), kLines, 10, 9),
    Flags("hasPrefix", AT(FormRecord, hasPrefix), kLines),
    Texts("prefix", AT(FormRecord, prefix), kLines, 10, 9),
    Flags("hasSuffix", AT(FormRecord, hasSuffix), kLines),
    Texts("suffix", AT(FormRecord, suffix), kLines, 10, 9),
    Flags("partialBarcode", AT(FormRecord, partialBarcode), kLines),
    Nums("partialStart", AT(FormRecord, partialStart), kLines),
    Nums("partialMaxLength", AT(FormRecord, partialMaxLength), kLines, 1, 50),
    Flags("verifyPrefix", AT(FormRecord, verifyPrefix), kLines),
    Texts("verifyPrefixText", AT(FormRecord, verifyPrefixText), kLines, 6, 6),
    Flags("autoAdvance", AT(FormRecord, autoAdvance), kLines),
    Nums("lineSpare", AT(FormRecord, lineSpare), kLines),
};

const FieldSpec kLookupFields[] = {
    Num("recordLength", AT(LookupFileRecord, recordLength), 0, 250),
    Num("fieldCount", AT(LookupFileRecord, fieldCount), 0, 8),
    Num("keyField", AT(LookupFileRecord, keyField), 0, 7),
    Nums("fieldStart", AT(LookupFileRecord, fieldStart), kLookupFieldsPerFile, 0, 250),
    Nums("fieldLength", AT(LookupFileRecord, fieldLength), kLookupFieldsPerFile, 0, 250),
};

const FieldSpec kSeparatorFields[] = {
    Num("separator1", AT(FieldSeparators, separator1)),
    Num("separator2", AT(FieldSeparators, separator2)),
};

const FieldSpec kStartupFields[] = {
    Num("uploadPort", AT(StartupSettings, uploadPort), 0, 3),
    Num("downloadPort", AT(StartupSettings, downloadPort), 0, 2),
    Num("transferSpeed", AT(StartupSettings, transferSpeed), 0, 4),
    Num("backlight", AT(StartupSettings, backlight), 0, 1),
    Num("setting4", AT(StartupSettings, setting4)),
    Num("deleteMode", AT(StartupSettings, deleteMode), 0, 1),
    Num("recordCountPrompt", AT(StartupSettings, recordCountPrompt), 0, 1),
    Num("setting7", AT(StartupSettings, setting7)),
    Flags("passwordGuard", AT(StartupSettings, passwordGuard), 12),
};

const FieldSpec kPassword[] = {Text("securityPassword", 0, 10, 10)};

const BlockSpec kBlocks[] = {
    {"portSettings", BlockShape::Object, AT(ApplicationTemplate, portSettings), kPortFields, 0, 0},
    {"startPosition", BlockShape::Field, AT(ApplicationTemplate, startPosition), kStartPosition, 0, 0},
    {"barcodeSettings", BlockShape::Field, AT(ApplicationTemplate, barcodeSettings), kBarcode, 0, 0},
    {"menus", BlockShape::ObjectArray, AT(ApplicationTemplate, menus), kMenuFields, kMenuCount,
     sizeof(MenuRecord)},
    {"forms", BlockShape::ObjectArray, AT(ApplicationTemplate, forms), kFormFields, kFormCount,
     sizeof(FormRecord)},
    {"lookupFiles", BlockShape::ObjectArray, AT(ApplicationTemplate, lookupFiles), kLookupFields,
     kLookupFileCount, sizeof(LookupFileRecord)},
    {"fieldSeparators", BlockShape::Object, AT(ApplicationTemplate, fieldSeparators), kSeparatorFields, 0, 0},
    {"startupSettings", BlockShape::Object, AT(ApplicationTemplate, startupSettings), kStartupFields, 0, 0},
    {"securityPassword", BlockShape::Field, AT(ApplicationTemplate, securityPassword), kPassword, 0, 0},
};

#undef AT

void AddField(std::vector<ValueRef>& out, const FieldSpec& f, const std::string& path, std::size_t base) {
    if (f.count == 0) {
        out.push_back({path, &f, base + f.offset});
        return;
    }
    for (int i = 0; i < f.count; ++i)
        out.push_back({path + "[" + std::to_string(i) + "]", &f,
                       base + f.offset + static_cast<std::size_t>(i) * f.width});
}

void AddRecord(std::vector<ValueRef>& out, const BlockSpec& b, const std::string& path, std::size_t base) {
    for (const FieldSpec& f : b.fields) AddField(out, f, path + "." + f.key, base);
}

std::vector<ValueRef> CollectValues() {
    std::vector<ValueRef> out;
    for (const BlockSpec& b : kBlocks) {
        switch (b.shape) {
            case BlockShape::Field:
                AddField(out, b.fields[0], b.key, b.offset);
                break;
            case BlockShape::Object:
                AddRecord(out, b, b.key, b.offset);
                break;
            case BlockShape::ObjectArray:
                for (int r = 0; r < b.records; ++r)
                    AddRecord(out, b, std::string(b.key) + "[" + std::to_string(r) + "]",
                              b.offset + static_cast<std::size_t>(r) * b.recordSize);
                break;
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const ValueRef& a, const ValueRef& b) { return a.offset < b.offset; });
    return out;
}

}  // namespace

std::span<const BlockSpec> TemplateBlocks() {
    return kBlocks;
}

const std::vector<ValueRef>& TemplateValuesInByteOrder() {
    static const std::vector<ValueRef> values = CollectValues();
    return values;
}

}  // namespace k52
