// Importing the text form: every refusal with its message, all faults listed, defaults, warnings.
#include <gtest/gtest.h>

#include <cstring>

#include "support/InLanguage.h"
#include "textformat/TemplateImport.h"

namespace k52 {
namespace {

const std::string kHead = R"("format": "k52-template", "version": 1)";

TemplateImport Import(const std::string& members) {
    return ImportTemplateJson("{" + kHead + (members.empty() ? "" : ", " + members) + "}");
}

TEST(TemplateImport, EachFaultIsRefusedWithItsPathValueAndRule) {
    const test::InLanguage english{Language::English};  // the messages as written
    struct Case {
        std::string members;
        std::string error;
    };
    const Case cases[] = {
        {R"("menus": [{"titel": "A"}])", R"(menus[0].titel: unknown key "titel" (did you mean "title"?))"},
        {R"("colour": 1)", R"(colour: unknown key "colour")"},
        {R"("startPosition": "1")", R"(startPosition: "1" is a string, expected a number 0 to 255)"},
        {R"("startPosition": true)", R"(startPosition: true is a boolean, expected a number 0 to 255)"},
        {R"("forms": [{"lineType": 3}])",
         R"(forms[0].lineType: 3 is a number, expected an array of up to 8 numbers)"},
        {R"("portSettings": [])", R"(portSettings: an array of 0, expected an object)"},
        {R"("menus": [{}, {"optionTargets": [11, 256]}])",
         R"(menus[1].optionTargets[1]: 256 is above 255, the field holds a byte, 0 to 255)"},
        {R"("startPosition": -1)", R"(startPosition: -1 is negative, the field holds a byte, 0 to 255)"},
        {R"("startPosition": 0.5)",
         R"(startPosition: 0.5 is not a whole number, the field holds a byte, 0 to 255)"},
        {R"("menus": [{}, {}, {"title": "一二三四五六七八九十一A"}])",
         R"(menus[2].title: "一二三四五六七八九十一A" is 23 bytes in CP950, the field holds 21)"},
        {R"("securityPassword": "12345678901")",
         R"(securityPassword: "12345678901" is 11 bytes in CP950, the field holds 10)"},
        {R"("menus": [{"title": "Café 😀"}])",
         R"(menus[0].title: "Café 😀" holds "é", "😀", which CP950 cannot encode)"},
        {R"("menus": [{"title": "A\u0000B"}])",
         R"(menus[0].title: "A\u0000B" holds a NUL character; write raw bytes as {"hex": "..."})"},
        {R"("menus": [{"title": {"hex": "4G"}}])",
         R"(menus[0].title.hex: "4G" is not a string of hex digit pairs)"},
        {R"("forms": [{"suffix": [{"hex": "3132333435363738393031"}]}])",
         R"(forms[0].suffix[0].hex: "3132333435363738393031" is 11 bytes, the field holds 10)"},
        {R"("menus": [{"title": {}}])",
         R"(menus[0].title: an object without "hex", expected a string or {"hex": "..."})"},
        {R"("menus": [{"options": [1]}])",
         R"(menus[0].options[0]: 1 is a number, expected a text (a string or {"hex": "..."}))"},
        {R"("lookupFiles": [{}, {}, {}, {}])", R"(lookupFiles: an array of 4 records, the template holds 3)"},
        {R"("forms": [{"maxLength": [1, 2, 3, 4, 5, 6, 7, 8, 9]}])",
         R"(forms[0].maxLength: an array of 9 numbers, the field holds 8)"},
        {R"("barcodeSettings": "9BC9")",
         R"(barcodeSettings: "9BC9" is not 48 hex digits (the block's 24 bytes))"},
        {R"("menus": [{"title": "A", "title": "B"}])",
         R"(menus[0].title: the key appears twice in one object)"},
    };
    for (const Case& c : cases) {
        TemplateImport r = Import(c.members);
        ASSERT_EQ(r.errors.size(), 1u) << c.members;
        EXPECT_EQ(r.errors[0], c.error);
    }
    // Each rule is said in the program's Chinese too, around the same paths and values.
    SetLanguage(Language::Chinese);
    for (const Case& c : cases) EXPECT_NE(Import(c.members).errors.at(0), c.error);
}

TEST(TemplateImport, FormatAndVersionMustNameThisFormat) {
    const test::InLanguage english{Language::English};  // the messages as written
    EXPECT_EQ(ImportTemplateJson(R"({"format": "k52", "version": 1})").errors,
              (std::vector<std::string>{R"(format: "k52" is not "k52-template")"}));
    EXPECT_EQ(ImportTemplateJson(R"({"format": "k52-template", "version": 2})").errors,
              (std::vector<std::string>{"version: 2 is not a version this program reads (1)"}));
    EXPECT_EQ(
        ImportTemplateJson(R"({"startPosition": 1})").errors,
        (std::vector<std::string>{R"(format: missing, the text form starts with "format": "k52-template")",
                                  "version: missing, this program reads version 1"}));
    EXPECT_EQ(ImportTemplateJson("[]").errors,
              (std::vector<std::string>{"(top level): an array of 0, expected an object"}));
}

TEST(TemplateImport, JsonThatDoesNotParseIsReportedWithLineAndColumn) {
    const test::InLanguage english{Language::English};  // the messages as written
    TemplateImport r =
        ImportTemplateJson("{\n  \"format\": \"k52-template\",\n  \"menus\": [ {\"title\": \"a\",, } ]\n}\n");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("line 3, column 28: the JSON does not parse: ", 0), 0u) << r.errors[0];
    r = ImportTemplateJson("");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("line 1, column 1: ", 0), 0u) << r.errors[0];
    // A number beyond any double ends the parse too (found by fuzzing: it escaped as an exception).
    // It is found where it stands as a number, not where a text holds the same characters.
    r = ImportTemplateJson("{\"format\": \"k52-template\", \"version\": 1, \"startPosition\": 6e400}");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("line 1, column 59: the JSON does not parse: ", 0), 0u) << r.errors[0];
    r = ImportTemplateJson("{\"6e400\": [1,\n  6e400]}");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].rfind("line 2, column 3: ", 0), 0u) << r.errors[0];
}

TEST(TemplateImport, AllFaultsAreListedInTheOrderOfTheFile) {
    const test::InLanguage english{Language::English};  // the messages as written
    TemplateImport r = Import(R"("startPosition": 300, "menus": [{"titel": "A", "escapeTarget": -2}],
                                 "securityPassword": 5)");
    EXPECT_EQ(r.errors,
              (std::vector<std::string>{
                  "startPosition: 300 is above 255, the field holds a byte, 0 to 255",
                  R"(menus[0].titel: unknown key "titel" (did you mean "title"?))",
                  "menus[0].escapeTarget: -2 is negative, the field holds a byte, 0 to 255",
                  R"(securityPassword: 5 is a number, expected a text (a string or {"hex": "..."}))",
              }));
}

TEST(TemplateImport, AbsentKeysTakeTheStartupTemplatesValues) {
    TemplateImport r =
        Import(R"("menus": [{}, {"title": "IN", "optionTargets": [3]}], "forms": [{"lineType": [1]}])");
    ASSERT_TRUE(r.ok());
    const ApplicationTemplate& t = r.tmpl;
    EXPECT_STREQ(reinterpret_cast<const char*>(t.menu(2).title), "IN");
    EXPECT_EQ(t.menu(2).optionTargets[0], 3);
    EXPECT_EQ(t.menu(2).optionTargets[1], 0);
    EXPECT_EQ(t.form(1).lineType[0], 1);
    EXPECT_EQ(t.form(1).lineType[1], 0);
    EXPECT_EQ(t.form(1).maxLength[0], 50);
    EXPECT_EQ(t.form(3).nextTarget, 3);
    EXPECT_EQ(t.form(4).partialMaxLength[7], 20);
    EXPECT_EQ(t.lookupFile(2).fieldStart[5], 1);
    EXPECT_EQ(t.fieldSeparators.separator1, 44);
    EXPECT_EQ(t.startupSettings.setting4, 50);
    const u8 barcode[24] = {0x9B, 0xC9, 0x00, 0x00, 0x00, 0x2D, 0x54, 0x80, 0x00, 0x19, 0x3D, 0x00,
                            0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0x66, 0x03, 0x03, 0x00};
    EXPECT_EQ(std::memcmp(t.barcodeSettings.bytes(), barcode, 24), 0);
}

TEST(TemplateImport, ValuesTheEditorWouldNotOfferAreStoredWithAWarning) {
    const test::InLanguage english{Language::English};  // the messages as written
    TemplateImport r = Import(R"("menus": [{"options": ["", "", "一二三四五六七八A"]}],
                                 "forms": [{"dateStamp": 13, "partialMaxLength": [0], "maxLength": [80],
                                            "minLength": [90], "prompt": [{"hex": "41424344454647484950515253545556"}]}],
                                 "startPosition": 2.0)");
    ASSERT_TRUE(r.ok()) << r.errors[0];
    EXPECT_EQ(
        r.warnings,
        (std::vector<std::string>{
            R"(menus[0].options[2]: "一二三四五六七八A" is 17 bytes in CP950, the editor allows 15)",
            "forms[0].dateStamp: 13 is not in the editor's list (0 to 12)",
            "forms[0].partialMaxLength[0]: 0 is not in the editor's list (1 to 50)",
            "forms[0].maxLength[0]: 80 is not in the editor's list (0 to 50)",
            "forms[0].minLength[0]: 90 is not in the editor's list (0 to 50)",
            R"(forms[0].prompt[0]: {"hex":"41424344454647484950515253545556"} is 16 bytes in CP950, the editor allows 15)",
            "startPosition: 2 is not in the editor's list (0 to 1)",
        }));
    // Stored as given: normalising is the editor's and the download's business.
    EXPECT_EQ(r.tmpl.form(1).maxLength[0], 80);
    EXPECT_EQ(r.tmpl.form(1).minLength[0], 90);
    EXPECT_EQ(r.tmpl.form(1).dateStamp, 13);
    EXPECT_EQ(r.tmpl.startPosition, 2);
}

TEST(TemplateImport, TextsFillTheirFieldWithZerosAndHexMayBeShorterThanTheField) {
    TemplateImport r = Import(R"("menus": [{"title": "盤點"}], "forms": [{"prefix": [{"hex": "0d0A"}],
                                 "verifyPrefixText": ["471999"]}])");
    ASSERT_TRUE(r.ok());
    const u8 title[21] = {0xBD, 0x4C, 0xC2, 0x49};
    EXPECT_EQ(std::memcmp(r.tmpl.menu(1).title, title, 21), 0);
    const u8 prefix[10] = {0x0D, 0x0A};
    EXPECT_EQ(std::memcmp(r.tmpl.form(1).prefix[0], prefix, 10), 0);
    EXPECT_EQ(std::memcmp(r.tmpl.form(1).verifyPrefixText[0], "471999", 6), 0);
    EXPECT_EQ(r.tmpl.form(1).verifyPrefixText[1][0], 0);
}

// Nesting costs the parse memory with the square of its depth; past the limit the text is refused before
// the parse starts, brackets inside strings not counted.
TEST(TemplateImport, TextNestedTooDeeplyIsRefusedBeforeItIsParsed) {
    const test::InLanguage english{Language::English};  // the messages as written
    auto nested = [](std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    EXPECT_EQ(Import(R"("x": )" + nested(63)).errors, (std::vector<std::string>{R"(x: unknown key "x")"}));
    EXPECT_EQ(Import(R"("x": ")" + std::string(100000, '[') + "\"").errors,
              (std::vector<std::string>{R"(x: unknown key "x")"}));
    const TemplateImport deep = Import(R"("x": )" + nested(64));
    ASSERT_EQ(deep.errors.size(), 1u);
    // With the outer object, the 64th '[' opens level 65: 46 characters before the first, so column 110.
    EXPECT_EQ(deep.errors[0].rfind("line 1, column 110: ", 0), 0u) << deep.errors[0];
    EXPECT_EQ(ImportTemplateJson(std::string(3 << 20, '[')).errors.size(), 1u);
}

// A message quotes the start of a long text, key or token and gives its length, never all of it.
TEST(TemplateImport, ALongValueIsQuotedByItsStartAndItsLength) {
    const std::string longText(1000000, 'A');
    for (const std::string& members : {R"("menus": [{"title": ")" + longText + "\"}]",
                                       "\"" + longText + "\": 1", R"("menus": [{"title": ")" + longText}) {
        const TemplateImport r = Import(members);
        ASSERT_FALSE(r.errors.empty());
        for (const std::string& e : r.errors) {
            EXPECT_LT(e.size(), 300u) << e.substr(0, 300);
            EXPECT_NE(e.find("00000"), std::string::npos)
                << e.substr(0, 300);  // its length, 1000000 and more
        }
    }
}

}  // namespace
}  // namespace k52
