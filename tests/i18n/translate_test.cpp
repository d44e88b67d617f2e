// The language choice from the locale, and the English of the program's own texts from the generated table.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <iostream>
#include <string>
#include <string_view>

#include "i18n/Translate.h"
#include "i18n/TranslationTables.h"

namespace k52 {
namespace {

// Each test starts and ends in the program's own language.
class English : public ::testing::Test {
  protected:
    void SetUp() override { SetLanguage(Language::English); }
    void TearDown() override { SetLanguage(Language::Chinese); }
};

TEST(LanguageFromLocale, FirstSetVariableDecidesAndOnlyEnIsEnglish) {
    constexpr Language E = Language::English, C = Language::Chinese;
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "en_US.UTF-8", E}, {nullptr, nullptr, "en", E},
        {nullptr, nullptr, "zh_TW.UTF-8", C}, {nullptr, nullptr, "C", C},
        {nullptr, nullptr, "C.UTF-8", C},     {nullptr, nullptr, "POSIX", C},
        {nullptr, nullptr, nullptr, C},       {nullptr, nullptr, "", C},
        {"", "", "en_GB.UTF-8", E},           {"C", nullptr, "en_US.UTF-8", C},
        {nullptr, "zh_TW", "en_US", C},       {nullptr, "en_AU", "zh_TW", E},
        {"en_US.UTF-8", "zh_TW", "zh_TW", E}, {nullptr, nullptr, "eo", C},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageFromLocale(c.lcAll, c.lcMessages, c.lang), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
}

TEST(Translate, ChineseKeepsTheSourceBytes) {
    ASSERT_EQ(CurrentLanguage(), Language::Chinese);
    const char* text = "終端機尚未就緒!!";
    EXPECT_EQ(Translate("Link", text).data(), text);
    EXPECT_EQ(Translate(text).data(), text);
    EXPECT_EQ(TranslateNumbered("Editor", "表單  3"), "表單  3");
}

TEST_F(English, TextsByContextAndWithoutIt) {
    EXPECT_EQ(Translate("Link", "終端機尚未就緒!!"), "The terminal is not ready!");
    EXPECT_EQ(Translate("終端機尚未就緒!!"), "The terminal is not ready!");
    EXPECT_EQ(Translate("Shell", "開新檔案"), "New");
    EXPECT_EQ(Translate("App", "錯誤"), "Error");
    EXPECT_EQ(Translate("Link", "錯誤"), "Error");
    // The wrong context, an unknown text, a user's own text and an empty one come back unchanged.
    EXPECT_EQ(Translate("Shell", "終端機尚未就緒!!"), "終端機尚未就緒!!");
    EXPECT_EQ(Translate("盤點"), "盤點");
    EXPECT_EQ(Translate(""), "");
}

TEST_F(English, NumberedEntriesTranslateTheirPrefix) {
    const struct {
        const char* source;
        const char* shown;
    } cases[] = {{"表單  3", "Form 3"},
                 {"選單  10", "Menu 10"},
                 {"欄位 2", "Field 2"},
                 {"表單 1", "Form 1"},
                 {"主選單", "Terminal's main menu"},
                 {" 4", " 4"},
                 {"無", "None"},
                 {"12", "12"},
                 {"盤點 7", "盤點 7"}};
    for (const auto& c : cases) EXPECT_EQ(TranslateNumbered("Editor", c.source), c.shown) << c.source;
}

TEST(Substitute, FillsNumberedPlacesAndLeavesTheRest) {
    EXPECT_EQ(Substitute("檔案第 %1 行第 %2 個字元", {"12", "3"}), "檔案第 12 行第 3 個字元");
    EXPECT_EQ(Substitute("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(Substitute("100% and %3 and %", {"x"}), "100% and %3 and %");
    EXPECT_EQ(Substitute("%1%1", {"%2"}), "%2%2");  // a value is not substituted again
}

// k52cli's English texts: as written under English, from the generated table under Chinese; every entry
// is found, so the generator's order is the order the lookup searches in.
TEST(Localize, EveryTextIsFoundUnderChineseAndKeptUnderEnglish) {
    ASSERT_EQ(CurrentLanguage(), Language::Chinese);
    ASSERT_GT(ChineseTexts().size(), 100u);
    for (const TranslatedText& e : ChineseTexts()) EXPECT_EQ(Localize(e.source), e.translation) << e.source;
    for (const TranslatedText& e : EnglishTexts()) EXPECT_EQ(Translate(e.context, e.source), e.source);
    EXPECT_EQ(Localize("no such text"), "no such text");
    SetLanguage(Language::English);
    for (const TranslatedText& e : ChineseTexts()) EXPECT_EQ(Localize(e.source), e.source);
    for (const TranslatedText& e : EnglishTexts()) EXPECT_EQ(Translate(e.context, e.source), e.translation);
    SetLanguage(Language::Chinese);
}

// A library's finished English text is found again through the pattern it was built from: for every
// pattern in the table, with values that hold spaces and digits as paths and reasons do.
TEST(Localize, FinishedTextsAreMatchedBackToTheirPatterns) {
    const std::string_view values[] = {"/tmp/a b.TXT", "12", "No such file or directory", "COM3", "x"};
    int patterns = 0;
    for (const TranslatedText& e : ChineseTexts()) {
        if (e.source.find('%') == std::string_view::npos) continue;
        ++patterns;
        const std::initializer_list<std::string_view> args = {values[0], values[1], values[2], values[3],
                                                              values[4]};
        // The system's reason among them comes back in the language too.
        const std::string reason = LocalizeReason(values[2]);
        EXPECT_EQ(LocalizeFinished(Substitute(e.source, args)),
                  Localize(e.source, {values[0], values[1], reason, values[3], values[4]}))
            << e.source;
    }
    std::cout << patterns << " patterns matched back\n";
    EXPECT_EQ(LocalizeFinished("done"), Localize("done"));
    EXPECT_EQ(LocalizeFinished("錯誤: 逾時!!"), "錯誤: 逾時!!");  // no pattern's own text, nothing matched
    SetLanguage(Language::English);
    EXPECT_EQ(LocalizeFinished("cannot read /x: gone"), "cannot read /x: gone");
    SetLanguage(Language::Chinese);
}

// The common reasons in the run's language, whichever C library worded them; the rest as the system said.
TEST(LocalizeReason, CommonReasonsAreTranslatedAndOthersKept) {
    const struct {
        std::string reason;
        const char* chinese;  // null: kept as it is
    } kCases[] = {
        {std::strerror(ENOENT), "沒有這個檔案或資料夾"},
        {std::strerror(EACCES), "沒有權限"},
        {std::strerror(EISDIR), "是資料夾"},
        {std::strerror(ENOTDIR), "不是資料夾"},
        {std::strerror(EEXIST), "檔案已存在"},
        {std::strerror(ENOSPC), "裝置已無剩餘空間"},
        {std::strerror(EROFS), "唯讀的檔案系統"},
        {std::strerror(EIO), "輸入/輸出錯誤"},
        {std::strerror(EBUSY), "裝置或資源忙碌中"},
        {std::strerror(ENODEV), "沒有這個裝置"},
        {std::strerror(EMLINK), "連結太多"},
        {std::strerror(ENAMETOOLONG), "檔名太長"},
        {"Not a regular file", "不是一般檔案"},
        {"A device name on Windows", "是 Windows 的裝置名稱"},
        {std::strerror(EXDEV), nullptr},
        {"No such file or directory (really)", nullptr},
        {"", nullptr},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(LocalizeReason(c.reason), c.chinese ? c.chinese : c.reason) << c.reason;
        SetLanguage(Language::English);
        EXPECT_EQ(LocalizeReason(c.reason), c.reason);
        SetLanguage(Language::Chinese);
    }
    // A library's finished English message has its reason put in the user's language too.
    EXPECT_EQ(LocalizeFinished(Substitute("cannot read %1: %2", {"missing.ATC", std::strerror(EACCES)})),
              Localize("cannot read %1: %2", {"missing.ATC", "沒有權限"}));
}

}  // namespace
}  // namespace k52
