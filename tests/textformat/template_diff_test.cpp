// Field-level differences between two templates, with their paths, in the order of the bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "template/Defaults.h"
#include "textformat/TemplateDiff.h"

namespace k52 {
namespace {

TEST(TemplateDiff, EqualTemplatesHaveNoDifferences) {
    EXPECT_TRUE(DiffTemplates(StartupTemplate(), StartupTemplate()).empty());
}

TEST(TemplateDiff, OneLinePerDifferingValueInTheOrderOfTheBytes) {
    ApplicationTemplate a = StartupTemplate(), b = StartupTemplate();
    a.menu(2).optionTargets[0] = 11;
    b.menu(2).optionTargets[0] = 12;
    std::memcpy(b.menu(1).title, "\xBD\x4C\xC2\x49", 4);
    b.form(1).lastInputLine = 2;  // written before lineType in the text, stored after lineSpare
    b.form(1).lineSpare[7] = 1;
    b.form(1).lineType[0] = 1;
    std::memcpy(b.securityPassword,
                "1\0"
                "2",
                3);
    b.barcodeSettings.spare23 = 0x10;
    std::vector<std::string> lines;
    for (const FieldDifference& d : DiffTemplates(a, b)) lines.push_back(d.Line());
    EXPECT_EQ(
        lines,
        (std::vector<std::string>{
            R"(barcodeSettings: "9BC90000002D548000193D00FF01FF01FF01FF0166030300" -> "9BC90000002D548000193D00FF01FF01FF01FF0166030310")",
            R"(menus[0].title: "" -> "盤點")",
            "menus[1].optionTargets[0]: 11 -> 12",
            "forms[0].lineType[0]: 0 -> 1",
            "forms[0].lineSpare[7]: 0 -> 1",
            "forms[0].lastInputLine: 0 -> 2",
            R"(securityPassword: "" -> {"hex":"31003200000000000000"})",
        }));
}

TEST(TemplateDiff, JsonListsPathAndBothValues) {
    ApplicationTemplate a = StartupTemplate(), b = StartupTemplate();
    b.startPosition = 1;
    std::memcpy(b.form(2).prompt[1], "QTY:", 4);
    EXPECT_EQ(DifferencesToJson(DiffTemplates(a, b)),
              TemplateJsonValue::parse(R"([{"path": "startPosition", "from": 0, "to": 1},
                                           {"path": "forms[1].prompt[1]", "from": "", "to": "QTY:"}])"));
}

}  // namespace
}  // namespace k52
