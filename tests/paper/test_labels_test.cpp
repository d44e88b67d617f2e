// Test labels: which labels a barcode block calls for, and the good ones read back by zbar's zbarimg for
// every symbology zbar reads.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "paper/TestLabels.h"
#include "support/TempDir.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

std::string Output(const std::string& command) {
    std::string out;
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    std::array<char, 256> buffer{};
    while (fgets(buffer.data(), buffer.size(), p)) out += buffer.data();
    pclose(p);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

std::string Decode(const std::string& path) {
    return Output("zbarimg -q '" + path + "'");
}

BarcodeSettings AllOn() {
    BarcodeSettings b = StartupTemplate().barcodeSettings;
    b.symbologyFlags0 = 0xFF;
    b.symbologyFlags1 = 0xFF;
    b.symbologyFlags2 = 0xFF;
    return b;
}

TEST(TestLabels, GoodLabelsReadBackAsTheirSymbology) {
    if (std::system("command -v zbarimg >/dev/null 2>&1") != 0) GTEST_SKIP() << "zbarimg is not installed";
    // What zbar reports for each good label it reads (the 2 of 5 labels with the Interleave pattern, the
    // Code 39 forms and the UPC/EAN family); the others (Matrix and Industrial 25, MSI, Plessey) zbar
    // does not read, and are only drawn.
    const std::map<std::string, std::string> expected = {
        {"Code 39", "CODE-39:K52-TEST"},
        {"French Pharmacode (Code 39)", "CODE-39:3400935"},
        {"Codabar", "Codabar:A123456B"},
        {"Code 93", "CODE-93:K52-93"},
        {"Code 128", "CODE-128:K52 Code 128"},
        {"EAN8", "EAN-8:12345670"},
        {"EAN13 & UPCA", "EAN-13:4712345678900"},
        {"UPCE", "EAN-13:0012345000065"},  // zbar gives UPC-E as its UPC-A, in 13 digits,
    };
    test::TempDir dir;
    int decoded = 0;
    for (const TestLabel& label : TestLabelsOf(AllOn())) {
        if (label.fault != LabelFault::None || label.data.find('+') != std::string::npos) continue;
        SCOPED_TRACE(label.name);
        const std::string png = dir.path().string() + "/label" + std::to_string(decoded) + ".png";
        std::string error;
        ASSERT_TRUE(WriteLabelPng(label, png, &error)) << error;
        const auto want = expected.find(label.name);
        if (want == expected.end()) continue;
        EXPECT_EQ(Decode(png), want->second);
        ++decoded;
    }
    EXPECT_EQ(decoded, static_cast<int>(expected.size()));
}

TEST(TestLabels, ThePrintedSheetScansBackForEverySymbologyZbarReads) {
    if (std::system("command -v zbarimg >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "zbarimg or pdftoppm is not installed";
    test::TempDir dir;
    const std::string pdf = dir.path().string() + "/labels.pdf";
    {
        const std::string sheet = LabelSheetPdf(TestLabelsOf(AllOn()), "T");
        std::ofstream(pdf, std::ios::binary) << sheet;
    }
    // At a printer's 300 dpi, every page; zbar names each symbol it finds, in no fixed order.
    ASSERT_EQ(std::system(("pdftoppm -r 300 -png '" + pdf + "' '" + dir.path().string() + "/page'").c_str()),
              0);
    std::multiset<std::string> read;
    std::istringstream lines(Output("zbarimg -q '" + dir.path().string() + "'/page-*.png"));
    for (std::string line; std::getline(lines, line);) read.insert(line);
    const std::multiset<std::string> expected = {
        "CODE-39:K52-TEST", "CODE-39:3400935",      "CODE-39:3PRM8N",        "I2/5:12345678",
        "Codabar:A123456B", "CODE-93:K52-93",       "CODE-128:K52 Code 128", "EAN-13:0012345000065",
        "EAN-8:12345670",   "EAN-13:4712345678900",
    };
    EXPECT_EQ(read, expected);
}

TEST(TestLabels, WrongLabelsFollowTheSettings) {
    struct Case {
        const char* name;
        void (*set)(BarcodeSettings&);
        std::vector<std::pair<LabelFault, std::size_t>>
            interleave;  // Interleave 25's wrong labels, by length
    } cases[] = {
        {"max/min 12..6: too short and too long, in pairs of digits",
         [](BarcodeSettings& b) { b.interleave25Lengths.set(1, 12, 6); },
         {{LabelFault::TooShort, 4}, {LabelFault::TooLong, 14}}},
        {"fixed 10 or 6: a longer even length",
         [](BarcodeSettings& b) { b.interleave25Lengths.set(0, 10, 6); },
         {{LabelFault::WrongLength, 12}}},
        {"verified check digit: lengths count it, and a wrong one",
         [](BarcodeSettings& b) {
             b.interleave25Lengths.set(1, 12, 6);
             b.optionFlags5 |= 0x02;
         },
         {{LabelFault::BadCheckDigit, 8}, {LabelFault::TooShort, 3}, {LabelFault::TooLong, 13}}},
        {"the default 1..127: nothing too short or too long to print", [](BarcodeSettings&) {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BarcodeSettings b = AllOn();
        c.set(b);
        std::vector<std::pair<LabelFault, std::size_t>> wrong;
        for (const TestLabel& label : TestLabelsOf(b))
            if (label.symbology == Symbology::Interleave25 && label.fault != LabelFault::None)
                wrong.emplace_back(label.fault, label.data.size());
        EXPECT_EQ(wrong, c.interleave);
    }
}

TEST(TestLabels, SwitchedOffSymbologiesGetARefusedLabelAndEveryLabelIsDrawn) {
    BarcodeSettings b = AllOn();
    b.symbologyFlags1 &= static_cast<u8>(~0x80);  // Code 128 off
    bool refused128 = false, good128 = false;
    for (const TestLabel& label : TestLabelsOf(b)) {
        if (label.symbology == Symbology::Code128) {
            refused128 = refused128 || label.fault == LabelFault::Disabled;
            good128 = good128 || label.fault == LabelFault::None;
        }
        std::string error;
        EXPECT_TRUE(DrawLabel(label, &error).has_value()) << label.name << " " << label.data << ": " << error;
    }
    EXPECT_TRUE(refused128);
    EXPECT_FALSE(good128);
}

TEST(TestLabels, SheetsHoldEveryCaption) {
    const std::vector<TestLabel> labels = TestLabelsOf(AllOn());
    const std::string svg = LabelSheetSvg(labels, "T");
    const std::string pdf = LabelSheetPdf(labels, "T");
    ASSERT_EQ(pdf.rfind("%PDF-1.4", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    for (const TestLabel& label : labels) {
        std::string caption = LabelCaption(label);
        if (const std::size_t amp = caption.find('&'); amp != std::string::npos)
            caption.replace(amp, 1, "&amp;");
        EXPECT_NE(svg.find(caption), std::string::npos) << caption;
    }
}

}  // namespace
}  // namespace k52
