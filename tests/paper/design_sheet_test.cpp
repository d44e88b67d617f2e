// The design sheet: a menu's section against a golden file written by hand, and what the whole sheet
// must hold to be signed off (every menu and form, the layouts, nothing fetched from elsewhere).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "i18n/Translate.h"
#include "paper/DesignSheet.h"
#include "paper/SheetPdf.h"
#include "support/TempDir.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

std::string Golden(const char* name) {
    std::ifstream in(std::string(K52_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

ApplicationTemplate Stocktake() {
    ApplicationTemplate t = StartupTemplate();
    t.startPosition = 1;
    MenuRecord& m = t.menu(1);
    m.showTitle = 1;
    WriteFieldText(m.title, "Stock");
    WriteFieldText(m.options[0], "1.Count");
    WriteFieldText(m.options[1], "2.Send");
    m.optionTargets[0] = FormTarget(1);
    m.optionTargets[1] = 0;
    m.escapeTarget = 0;
    FormRecord& f = t.form(1);
    f.lineType[0] = kLineString;
    WriteFieldText(f.prompt[0], "\xB0\xD3\xAB\x7E:");  // 商品: (CP950)
    f.minLength[0] = 1;
    f.maxLength[0] = 13;
    f.lineType[1] = kLineNumeric;
    WriteFieldText(f.prompt[1], "Qty:");
    f.maxLength[1] = 5;
    f.nextTarget = FormTarget(1);
    f.escapeTarget = MenuTarget(1);
    LookupFileRecord& l = t.lookupFile(1);
    l.recordLength = 33;
    l.fieldCount = 2;
    l.fieldStart[0] = 1;
    l.fieldLength[0] = 13;
    l.fieldStart[1] = 14;
    l.fieldLength[1] = 20;
    return t;
}

class DesignSheet : public ::testing::Test {
  protected:
    void SetUp() override { SetLanguage(Language::English); }
    void TearDown() override { SetLanguage(Language::Chinese); }
};

TEST_F(DesignSheet, MenuSectionMatchesTheGoldenFile) {
    EXPECT_EQ(MenuSectionHtml(Stocktake(), 1), Golden("menu_section.html"));
}

TEST_F(DesignSheet, ScreenCellsFollowTheDisplaysColumns) {
    std::string rows[8] = {
        "\xA4\xA4"
        "A<",
        std::string(25, 'x')};
    const std::string html = ScreenHtml(rows, 0);
    // The ideograph takes two cells, markup is escaped, a row never passes its 20 columns.
    EXPECT_NE(html.find("<tr><td colspan=\"2\">\xE4\xB8\xAD</td><td>A</td><td>&lt;</td><td>&nbsp;</td>"),
              std::string::npos);
    std::size_t second = html.find("<tr>", html.find("<tr>") + 1);
    std::string row2 = html.substr(second, html.find("</tr>", second) - second);
    std::size_t cells = 0;
    for (std::size_t at = row2.find("<td>x</td>"); at != std::string::npos;
         at = row2.find("<td>x</td>", at + 1))
        ++cells;
    EXPECT_EQ(cells, 20u);
    EXPECT_EQ(html.find("class=\"hl\""), std::string::npos);
}

TEST_F(DesignSheet, WholeSheetHoldsEveryPartAndStandsAlone) {
    const std::string html = DesignSheetHtml(Stocktake(), "stock<take>.ATC");
    for (const char* part :
         {"Design sheet: stock&lt;take&gt;.ATC", "Menu 1: Stock", "Form 1",
          "\xE5\x95\x86\xE5\x93\x81:", "Navigation", "Lookup file 1: 33-byte records", "<td>14&ndash;33</td>",
          "Barcode settings", "Password</td><td>not set", "Designed by"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    // Only menus and forms in use get a section.
    EXPECT_EQ(html.find("Menu 2"), std::string::npos);
    EXPECT_EQ(html.find("Form 2"), std::string::npos);
    // Self-contained: nothing is loaded from beside it or from the network.
    for (const char* outside : {"src=", "href=", "@import", "url(", "<script"})
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
}

std::string PdfText(const std::string& pdf) {
    test::TempDir dir;
    const std::string path = dir.path().string() + "/sheet.pdf";
    std::ofstream(path, std::ios::binary) << pdf;
    std::string out;
    FILE* p = popen(("pdftotext -layout '" + path + "' - 2>/dev/null").c_str(), "r");
    if (!p) return out;
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), buffer.size(), p)) out += buffer.data();
    pclose(p);
    return out;
}

TEST_F(DesignSheet, PdfFromTheHtmlKeepsItsTextInOrderAndBreaksLongSheetsIntoPages) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    ApplicationTemplate t = Stocktake();
    // Nine more forms like the first: far more than one page holds.
    for (int n = 2; n <= kFormCount; ++n) t.form(n) = t.form(1);
    const std::string pdf = SheetPdf(DesignSheetHtml(t, "stock<take>.ATC"), "stock");
    const std::string text = PdfText(pdf);
    std::size_t at = 0;
    for (const char* part :
         {"Design sheet: stock<take>.ATC", "Designed by", "Start-up", "Menu 1: Stock", "1.Count", "Form 1",
          "\xE5\x95\x86\xE5\x93\x81:", "Qty:", "Form 10", "Navigation", "Lookup file 1: 33-byte records",
          "14-33", "Barcode settings", "Code 128"}) {
        const std::size_t found = text.find(part, at);
        EXPECT_NE(found, std::string::npos) << part;
        if (found != std::string::npos) at = found;
    }
    std::size_t pages = 0;
    for (std::size_t p = pdf.find("/Type /Page "); p != std::string::npos;
         p = pdf.find("/Type /Page ", p + 1))
        ++pages;
    EXPECT_GE(pages, 3u);
}

}  // namespace
}  // namespace k52
