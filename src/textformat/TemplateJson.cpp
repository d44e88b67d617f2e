// A template as JSON text that keeps every byte: texts as strings when lossless, else as hex.
#include "textformat/TemplateJson.h"
#include "util/Hex.h"

#include <algorithm>
#include <cstring>

#include "template/Cp950.h"

namespace k52 {
namespace {

TemplateJsonValue FieldToJson(const ApplicationTemplate& t, const FieldSpec& f, std::size_t base) {
    if (f.count == 0) return ValueToJson(t, f, base + f.offset);
    TemplateJsonValue a = TemplateJsonValue::array();
    for (int i = 0; i < f.count; ++i)
        a.push_back(ValueToJson(t, f, base + f.offset + static_cast<std::size_t>(i) * f.width));
    return a;
}

TemplateJsonValue RecordToJson(const ApplicationTemplate& t, const BlockSpec& b, std::size_t base) {
    TemplateJsonValue o = TemplateJsonValue::object();
    for (const FieldSpec& f : b.fields) o[f.key] = FieldToJson(t, f, base);
    return o;
}

}  // namespace

std::string HexDigits(const u8* bytes, std::size_t n) {
    return HexDigits(std::string_view(reinterpret_cast<const char*>(bytes), n), HexCase::Upper);
}

TemplateJsonValue TextToJson(const u8* field, std::size_t width) {
    std::string_view text = FieldText(field, width);
    bool zeroTail = std::all_of(field + text.size(), field + width, [](u8 b) { return b == 0; });
    if (zeroTail) {
        std::string utf8 = Cp950ToUtf8(text);
        Cp950Encoding back = Utf8ToCp950(utf8);
        // Codes that share a character with another code come back as the other one: not lossless.
        if (back.unmappable.empty() && back.bytes == text) return utf8;
    }
    return {{"hex", HexDigits(field, width)}};
}

TemplateJsonValue ValueToJson(const ApplicationTemplate& t, const FieldSpec& field, std::size_t offset) {
    const u8* p = t.bytes() + offset;
    switch (field.kind) {
        case FieldKind::Number:
            return *p;
        case FieldKind::Text:
            return TextToJson(p, field.width);
        case FieldKind::BarcodeHex:
            return HexDigits(p, field.width);
    }
    return nullptr;
}

TemplateJsonValue TemplateToJson(const ApplicationTemplate& t) {
    TemplateJsonValue j = TemplateJsonValue::object();
    j["format"] = kFormatName;
    j["version"] = kFormatVersion;
    for (const BlockSpec& b : TemplateBlocks()) {
        switch (b.shape) {
            case BlockShape::Field:
                j[b.key] = FieldToJson(t, b.fields[0], b.offset);
                break;
            case BlockShape::Object:
                j[b.key] = RecordToJson(t, b, b.offset);
                break;
            case BlockShape::ObjectArray: {
                TemplateJsonValue a = TemplateJsonValue::array();
                for (int r = 0; r < b.records; ++r)
                    a.push_back(RecordToJson(t, b, b.offset + static_cast<std::size_t>(r) * b.recordSize));
                j[b.key] = a;
                break;
            }
        }
    }
    return j;
}

std::string FormatTemplateJson(const ApplicationTemplate& t) {
    return TemplateToJson(t).dump(2);
}

}  // namespace k52
