// The text form written from templates: lossless texts, numbers as stored, the keys show --json had.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "template/Defaults.h"
#include "textformat/TemplateImport.h"
#include "textformat/TemplateJson.h"

namespace k52 {
namespace {

using Json = TemplateJsonValue;

template <std::size_t N>
void Put(u8 (&field)[N], std::string_view bytes) {
    std::memset(field, 0, N);
    std::memcpy(field, bytes.data(), bytes.size());
}

// Writes, prints, parses and imports: the bytes that come back.
ApplicationTemplate ThroughText(const ApplicationTemplate& t) {
    TemplateImport back = ImportTemplateJson(FormatTemplateJson(t));
    EXPECT_TRUE(back.ok()) << (back.errors.empty() ? "" : back.errors[0]);
    return back.tmpl;
}

TEST(TemplateJson, TextsAreStringsOnlyWhenTheirBytesComeBackExactly) {
    struct Case {
        const char* what;
        std::string bytes;  // the field's leading bytes; the rest of the 6-byte field is zero
        Json expected;
    };
    const Case cases[] = {
        {"ASCII", "AB 1", "AB 1"},
        {"two CP950 characters", "\xBD\x4C\xC2\x49", "盤點"},
        {"full width, no NUL", "ABCDEF", "ABCDEF"},
        {"control byte", "\x01", "\x01"},
        {"empty", "", ""},
        {"bytes after the NUL", std::string("A\0B", 3), {{"hex", "410042000000"}}},
        {"lead byte cut at the end", "ABCDE\xA4", {{"hex", "4142434445A4"}}},
        {"byte with no character", "\xFF", {{"hex", "FF0000000000"}}},
        {"code sharing its character with A451", "\xA2\xCC", {{"hex", "A2CC00000000"}}},
    };
    for (const Case& c : cases) {
        u8 field[6] = {};
        std::memcpy(field, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(TextToJson(field, sizeof field), c.expected) << c.what;
    }
}

TEST(TemplateJson, KeepsTheKeysAndOrderShowJsonHadWithFormatAndVersionFirst) {
    Json j = TemplateToJson(StartupTemplate());
    std::vector<std::string> top, menu, form, lookup, startup;
    for (const auto& [k, v] : j.items()) top.push_back(k);
    for (const auto& [k, v] : j["menus"][0].items()) menu.push_back(k);
    for (const auto& [k, v] : j["forms"][0].items()) form.push_back(k);
    for (const auto& [k, v] : j["lookupFiles"][0].items()) lookup.push_back(k);
    for (const auto& [k, v] : j["startupSettings"].items()) startup.push_back(k);
    EXPECT_EQ(top, (std::vector<std::string>{"format", "version", "portSettings", "startPosition",
                                             "barcodeSettings", "menus", "forms", "lookupFiles",
                                             "fieldSeparators", "startupSettings", "securityPassword"}));
    EXPECT_EQ(menu, (std::vector<std::string>{"narrowRows", "showTitle", "title", "options", "escapeTarget",
                                              "optionTargets", "storeTitle", "storeSelection", "passDown",
                                              "optionCount", "currentOption", "menuRunSpare"}));
    EXPECT_EQ(form, (std::vector<std::string>{
                        "narrowRows",       "escapeTarget",     "nextTarget",       "dateStamp",
                        "timeStamp",        "dataAction",       "lookupFile",       "lastInputLine",
                        "currentLine",      "lookupField",      "lineType",         "prompt",
                        "inputSource",      "minLength",        "maxLength",        "fixedLength",
                        "alignment",        "fixedLengthValue", "hasInitialValue",  "initialValue",
                        "hasPrefix",        "prefix",           "hasSuffix",        "suffix",
                        "partialBarcode",   "partialStart",     "partialMaxLength", "verifyPrefix",
                        "verifyPrefixText", "autoAdvance",      "lineSpare"}));
    EXPECT_EQ(lookup, (std::vector<std::string>{"recordLength", "fieldCount", "keyField", "fieldStart",
                                                "fieldLength"}));
    EXPECT_EQ(startup, (std::vector<std::string>{"uploadPort", "downloadPort", "transferSpeed", "backlight",
                                                 "setting4", "deleteMode", "recordCountPrompt", "setting7",
                                                 "passwordGuard"}));
    EXPECT_EQ(j["format"], "k52-template");
    EXPECT_EQ(j["version"], 1);
    EXPECT_EQ(j["barcodeSettings"], "9BC90000002D548000193D00FF01FF01FF01FF0166030300");
    EXPECT_EQ(j["forms"][2]["nextTarget"], 3);
    EXPECT_EQ(j["forms"][0]["maxLength"], Json::array({50, 50, 50, 50, 50, 50, 50, 50}));
    EXPECT_EQ(j["fieldSeparators"], (Json{{"separator1", 44}, {"separator2", 0}}));
}

TEST(TemplateJson, EveryKindOfFieldComesBackByteForByte) {
    ApplicationTemplate t = StartupTemplate();
    t.portSettings = {5, 4};
    t.startPosition = 1;
    t.barcodeSettings.spare23 = 0xA5;
    MenuRecord& m = t.menu(3);
    m.showTitle = 1;
    Put(m.title, "\xBD\x4C\xC2\x49");              // 盤點
    Put(m.options[0], "ABCDEFGHIJKLMNOPQRSTU");    // full 21 bytes, no NUL
    Put(m.options[9], std::string("X\0junk", 6));  // bytes after the NUL
    m.optionTargets[2] = 200;                      // beyond the editor's list
    m.currentOption = 7;
    FormRecord& f = t.form(10);
    f.lineType[7] = 9;
    Put(f.prompt[7], "\xA2\xCC");  // a duplicate code
    Put(f.prefix[0], "13 10");
    Put(f.verifyPrefixText[3], "471999");  // six bytes, no terminator
    Put(f.initialValue[5], "\xA4");        // a lone lead byte
    f.maxLength[1] = 255;
    f.lastInputLine = 77;
    t.lookupFile(3).fieldStart[7] = 251;
    t.fieldSeparators = {0, 9};
    t.startupSettings.passwordGuard[11] = 2;
    Put(t.securityPassword, "1234567890");

    ApplicationTemplate back = ThroughText(t);
    EXPECT_EQ(std::memcmp(back.bytes(), t.bytes(), kTemplateSize), 0);

    Json j = TemplateToJson(t);
    EXPECT_EQ(j["menus"][2]["title"], "盤點");
    EXPECT_EQ(j["menus"][2]["options"][0], "ABCDEFGHIJKLMNOPQRSTU");
    EXPECT_EQ(j["menus"][2]["options"][9]["hex"], "58006A756E6B000000000000000000000000000000");
    EXPECT_EQ(j["menus"][2]["optionTargets"][2], 200);
    EXPECT_EQ(j["forms"][9]["prompt"][7]["hex"], "A2CC00000000000000000000000000000000000000");
    EXPECT_EQ(j["forms"][9]["verifyPrefixText"][3], "471999");
    EXPECT_EQ(j["securityPassword"], "1234567890");
}

TEST(TemplateJson, RandomTemplatesComeBackByteForByte) {
    std::mt19937 rng(20261207);
    int runs = 0;
    for (; runs < 30; ++runs) {
        ApplicationTemplate t{};
        // Half the runs draw from a few telling bytes (NUL, blank, lead bytes, ASCII) so texts end,
        // restart after their NUL and split characters far more often than uniform bytes would.
        const u8 telling[] = {0x00, 0x00, 0x20, 0x41, 0xA4, 0x40, 0xA2, 0xCC, 0xFF, 0x80};
        for (std::size_t i = 0; i < kTemplateSize; ++i)
            t.bytes()[i] = runs % 2 ? static_cast<u8>(rng()) : telling[rng() % sizeof telling];
        ApplicationTemplate back = ThroughText(t);
        ASSERT_EQ(std::memcmp(back.bytes(), t.bytes(), kTemplateSize), 0) << "run " << runs;
    }
    std::cout << runs << " random templates round-tripped\n";
}

}  // namespace
}  // namespace k52
