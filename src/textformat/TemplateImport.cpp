// Template text back into a template: every key, type, range and width checked, every error listed.
#include "textformat/TemplateImport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <set>

#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "textformat/JsonText.h"
#include "textformat/TemplateFields.h"
#include "textformat/TemplateJson.h"

namespace k52 {
namespace {

using Json = TemplateJsonValue;

std::string Index(const std::string& path, std::size_t i) {
    return path + "[" + std::to_string(i) + "]";
}
std::string Member(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// A key as a message names it: a long one by its start and its length.
std::string ShownKey(std::string_view key) {
    if (key.size() <= kQuotedBytes) return std::string(key);
    return std::string(QuotedPrefix(key)) + "..." + Localize(" (%1 bytes)", {std::to_string(key.size())});
}

// A value as a message quotes it; containers are named rather than printed, and a long text is quoted by
// its start and its length, as they may be huge.
std::string Quote(const Json& v) {
    if (v.is_array()) return Localize("an array");
    if (v.is_object()) return Localize("an object");
    if (v.is_string() && v.get_ref<const std::string&>().size() > kQuotedBytes) {
        const std::string& text = v.get_ref<const std::string&>();
        return Json(QuotedPrefix(text)).dump(-1, ' ', false, Json::error_handler_t::replace) + "..." +
               Localize(" (%1 bytes)", {std::to_string(text.size())});
    }
    return v.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// "300 is a number", "an array of 9": what was found, for a message that says what was expected.
std::string Found(const Json& v) {
    if (v.is_array()) return Localize("an array of %1", {std::to_string(v.size())});
    if (v.is_object()) return Localize("an object");
    if (v.is_string()) return Localize("%1 is a string", {Quote(v)});
    if (v.is_boolean()) return Localize("%1 is a boolean", {Quote(v)});
    if (v.is_number()) return Localize("%1 is a number", {Quote(v)});
    return Localize("%1 is null", {Quote(v)});
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

class Importer {
  public:
    explicit Importer(TemplateImport& result) : r_(result) {}

    void Document(const Json& j) {
        if (!j.is_object())
            return Error(Localize("(top level)"), Localize("%1, expected an object", {Found(j)}));
        CheckFormat(j);
        for (const auto& [key, value] : j.items()) {
            if (key == "format" || key == "version") continue;
            const auto blocks = TemplateBlocks();
            const std::string& name = key;  // clang 14 cannot capture a structured binding
            auto b =
                std::find_if(blocks.begin(), blocks.end(), [&](const BlockSpec& s) { return name == s.key; });
            if (b == blocks.end()) {
                std::vector<std::string> known{"format", "version"};
                for (const BlockSpec& s : blocks) known.emplace_back(s.key);
                UnknownKey("", key, known);
            } else {
                Block(*b, value);
            }
        }
    }

    void Error(const std::string& path, const std::string& text) { r_.errors.push_back(path + ": " + text); }

  private:
    TemplateImport& r_;

    void Warn(const std::string& path, const std::string& text) { r_.warnings.push_back(path + ": " + text); }

    void UnknownKey(const std::string& parent, const std::string& key,
                    const std::vector<std::string>& known) {
        const std::string* closest = nullptr;
        std::size_t best = 3;  // a typo is at most two edits away
        for (const std::string& k : known)
            if (std::size_t d = EditDistance(key, k); d < best) {
                best = d;
                closest = &k;
            }
        Error(Member(parent, ShownKey(key)),
              closest ? Localize("unknown key \"%1\" (did you mean \"%2\"?)", {ShownKey(key), *closest})
                      : Localize("unknown key \"%1\"", {ShownKey(key)}));
    }

    void CheckFormat(const Json& j) {
        auto format = j.find("format");
        if (format == j.end())
            Error("format", Localize("missing, the text form starts with \"format\": \"%1\"", {kFormatName}));
        else if (!format->is_string() || format->get<std::string>() != kFormatName)
            Error("format", Localize("%1 is not \"%2\"", {Quote(*format), kFormatName}));
        auto version = j.find("version");
        const std::string known = std::to_string(kFormatVersion);
        if (version == j.end())
            Error("version", Localize("missing, this program reads version %1", {known}));
        else if (!version->is_number() || *version != kFormatVersion)
            Error("version",
                  Localize("%1 is not a version this program reads (%2)", {Quote(*version), known}));
    }

    void Block(const BlockSpec& b, const Json& v) {
        switch (b.shape) {
            case BlockShape::Field:
                return Field(b.fields[0], b.offset, b.key, v);
            case BlockShape::Object:
                return Record(b, b.offset, b.key, v);
            case BlockShape::ObjectArray:
                if (!v.is_array())
                    return Error(b.key, Localize("%1, expected an array of up to %2 records",
                                                 {Found(v), std::to_string(b.records)}));
                if (v.size() > static_cast<std::size_t>(b.records))
                    return Error(b.key, Localize("an array of %1 records, the template holds %2",
                                                 {std::to_string(v.size()), std::to_string(b.records)}));
                for (std::size_t i = 0; i < v.size(); ++i)
                    Record(b, b.offset + i * b.recordSize, Index(b.key, i), v[i]);
                return;
        }
    }

    void Record(const BlockSpec& b, std::size_t base, const std::string& path, const Json& v) {
        if (!v.is_object()) return Error(path, Localize("%1, expected an object", {Found(v)}));
        for (const auto& [key, value] : v.items()) {
            const std::string& name = key;  // clang 14 cannot capture a structured binding
            auto f = std::find_if(b.fields.begin(), b.fields.end(),
                                  [&](const FieldSpec& s) { return name == s.key; });
            if (f == b.fields.end()) {
                std::vector<std::string> known;
                for (const FieldSpec& s : b.fields) known.emplace_back(s.key);
                UnknownKey(path, key, known);
            } else {
                Field(*f, base, Member(path, key), value);
            }
        }
    }

    void Field(const FieldSpec& f, std::size_t base, const std::string& path, const Json& v) {
        if (f.count == 0) return Value(f, base + f.offset, path, v);
        const bool texts = f.kind == FieldKind::Text;
        if (!v.is_array())
            return Error(path, Localize(texts ? "%1, expected an array of up to %2 texts"
                                              : "%1, expected an array of up to %2 numbers",
                                        {Found(v), std::to_string(f.count)}));
        if (v.size() > static_cast<std::size_t>(f.count))
            return Error(path, Localize(texts ? "an array of %1 texts, the field holds %2"
                                              : "an array of %1 numbers, the field holds %2",
                                        {std::to_string(v.size()), std::to_string(f.count)}));
        for (std::size_t i = 0; i < v.size(); ++i)
            Value(f, base + f.offset + i * f.width, Index(path, i), v[i]);
    }

    void Value(const FieldSpec& f, std::size_t at, const std::string& path, const Json& v) {
        u8* p = r_.tmpl.bytes() + at;
        switch (f.kind) {
            case FieldKind::Number:
                return Number(f, p, path, v);
            case FieldKind::Text:
                if (v.is_string()) return TextString(f, p, path, v);
                if (v.is_object()) return TextHex(f, p, path, v);
                return Error(path,
                             Localize("%1, expected a text (a string or {\"hex\": \"...\"})", {Found(v)}));
            case FieldKind::BarcodeHex:
                return BarcodeHex(f, p, path, v);
        }
    }

    void Number(const FieldSpec& f, u8* p, const std::string& path, const Json& v) {
        if (!v.is_number()) return Error(path, Localize("%1, expected a number 0 to 255", {Found(v)}));
        // Exact for every integer that could fit; larger ones are refused as above 255 all the same.
        const double d = v.get<double>();
        if (!std::isfinite(d) || d != std::floor(d))
            return Error(path,
                         Localize("%1 is not a whole number, the field holds a byte, 0 to 255", {Quote(v)}));
        if (d < 0)
            return Error(path, Localize("%1 is negative, the field holds a byte, 0 to 255", {Quote(v)}));
        if (d > 255)
            return Error(path, Localize("%1 is above 255, the field holds a byte, 0 to 255", {Quote(v)}));
        const int n = static_cast<int>(d);
        *p = static_cast<u8>(n);
        if (f.HasEditorRange() && (n < f.editorMin || n > f.editorMax))
            Warn(path,
                 Localize("%1 is not in the editor's list (%2 to %3)",
                          {std::to_string(n), std::to_string(f.editorMin), std::to_string(f.editorMax)}));
    }

    void TextString(const FieldSpec& f, u8* p, const std::string& path, const Json& v) {
        const Cp950Encoding enc = Utf8ToCp950(v.get<std::string>());
        if (!enc.unmappable.empty()) {
            std::string chars;
            for (const std::string& c : enc.unmappable) chars += (chars.empty() ? "\"" : ", \"") + c + "\"";
            return Error(path, Localize("%1 holds %2, which CP950 cannot encode", {Quote(v), chars}));
        }
        if (enc.bytes.find('\0') != std::string::npos)
            return Error(path, Localize("%1 holds a NUL character; write raw bytes as {\"hex\": \"...\"}",
                                        {Quote(v)}));
        if (enc.bytes.size() > f.width)
            return Error(path,
                         Localize("%1 is %2 bytes in CP950, the field holds %3",
                                  {Quote(v), std::to_string(enc.bytes.size()), std::to_string(f.width)}));
        std::memset(p, 0, f.width);
        std::memcpy(p, enc.bytes.data(), enc.bytes.size());
        WarnIfLong(f, p, path, Quote(v));
    }

    void TextHex(const FieldSpec& f, u8* p, const std::string& path, const Json& v) {
        bool hasHex = false;
        for (const auto& [key, value] : v.items()) {
            if (key != "hex") {
                UnknownKey(path, key, {"hex"});
                continue;
            }
            hasHex = true;
            std::vector<u8> bytes;
            if (!ParseHex(value, bytes))
                Error(Member(path, key), Localize("%1 is not a string of hex digit pairs", {Quote(value)}));
            else if (bytes.size() > f.width)
                Error(Member(path, key),
                      Localize("%1 is %2 bytes, the field holds %3",
                               {Quote(value), std::to_string(bytes.size()), std::to_string(f.width)}));
            else {
                std::memset(p, 0, f.width);
                std::copy(bytes.begin(), bytes.end(), p);
                WarnIfLong(f, p, path, v.dump());
            }
        }
        if (!hasHex)
            Error(path, Localize("an object without \"hex\", expected a string or {\"hex\": \"...\"}"));
    }

    void WarnIfLong(const FieldSpec& f, const u8* p, const std::string& path, const std::string& quoted) {
        const std::size_t n = FieldText(p, f.width).size();
        if (n > static_cast<std::size_t>(f.editorMax))
            Warn(path, Localize("%1 is %2 bytes in CP950, the editor allows %3",
                                {quoted, std::to_string(n), std::to_string(f.editorMax)}));
    }

    void BarcodeHex(const FieldSpec& f, u8* p, const std::string& path, const Json& v) {
        std::vector<u8> bytes;
        if (!ParseHex(v, bytes) || bytes.size() != f.width)
            return Error(path, Localize("%1 is not %2 hex digits (the block's %3 bytes)",
                                        {Quote(v), std::to_string(2 * f.width), std::to_string(f.width)}));
        std::copy(bytes.begin(), bytes.end(), p);
    }

    static bool ParseHex(const Json& v, std::vector<u8>& out) {
        if (!v.is_string()) return false;
        const std::string& s = v.get_ref<const std::string&>();
        if (s.size() % 2 != 0) return false;
        auto digit = [](char c) {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        for (std::size_t i = 0; i < s.size(); i += 2) {
            int hi = digit(s[i]), lo = digit(s[i + 1]);
            if (hi < 0 || lo < 0) return false;
            out.push_back(static_cast<u8>(hi * 16 + lo));
        }
        return true;
    }
};

// Follows the parser through the document so that a key given twice, which JSON would silently
// collapse to one, is reported with its path.
class DuplicateKeys {
  public:
    explicit DuplicateKeys(Importer& importer) : importer_(importer) {}

    bool operator()(int, Json::parse_event_t event, const Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start:
            case Json::parse_event_t::array_start: {
                std::string path = ChildPath();
                frames_.push_back({event == Json::parse_event_t::object_start, std::move(path), {}, 0, {}});
                break;
            }
            case Json::parse_event_t::object_end:
            case Json::parse_event_t::array_end:
                if (!frames_.empty()) frames_.pop_back();
                break;
            case Json::parse_event_t::key:
                if (!frames_.empty() && parsed.is_string()) {
                    Frame& top = frames_.back();
                    // The paths below hold the key as shown, so a huge key is not copied at every level.
                    const std::string& key = parsed.get_ref<const std::string&>();
                    top.key = ShownKey(key);
                    if (!top.keys.insert(key).second)
                        importer_.Error(Member(top.path, top.key),
                                        Localize("the key appears twice in one object"));
                }
                break;
            case Json::parse_event_t::value:
                ChildPath();
                break;
        }
        return true;
    }

  private:
    struct Frame {
        bool object;
        std::string path;
        std::string key;
        std::size_t next;  // arrays: index of the next element
        std::set<std::string> keys;
    };
    Importer& importer_;
    std::vector<Frame> frames_;

    // The path of the element that starts now; counts it when the parent is an array.
    std::string ChildPath() {
        if (frames_.empty()) return "";
        Frame& top = frames_.back();
        if (top.object) return Member(top.path, top.key);
        return Index(top.path, top.next++);
    }
};

}  // namespace

TemplateImport ImportTemplateJson(std::string_view text) {
    TemplateImport result;
    // The template the desktop program starts with, so a file can hold only what it changes.
    result.tmpl = StartupTemplate();
    if (std::optional<std::string> deep = TooDeepNesting(text)) {
        result.errors.assign(1, *deep);
        return result;
    }
    Importer importer(result);
    Json j;
    try {
        j = Json::parse(text.begin(), text.end(), DuplicateKeys(importer));
    } catch (const Json::parse_error& e) {
        result.errors.assign(1, JsonParseFailure(text, e));
        return result;
    } catch (const Json::exception& e) {
        // A number beyond any double (1e400) is no parse error to the library, but it ends the parse.
        std::string what = e.what();
        if (const std::size_t detail = what.find("] "); detail != std::string::npos)
            what = what.substr(detail + 2);
        // The library names the number but not where it is: find it, as the other refusals say where.
        const std::size_t open = what.find('\''), close = what.rfind('\'');
        const std::optional<std::size_t> at =
            open < close ? NumberOffset(text, std::string_view(what).substr(open + 1, close - open - 1))
                         : std::nullopt;
        result.errors.assign(1, at ? Localize("%1: the JSON does not parse: %2",
                                              {TextPosition(text, *at), ShortenQuotedToken(what)})
                                   : Localize("the JSON does not parse: %1", {ShortenQuotedToken(what)}));
        return result;
    }
    importer.Document(j);
    return result;
}

}  // namespace k52
