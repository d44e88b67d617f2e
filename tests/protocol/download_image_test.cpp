#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "protocol/DownloadImage.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

std::vector<u8> Slice(const DownloadImage& image, size_t offset, size_t n) {
    return {image.begin() + static_cast<long>(offset), image.begin() + static_cast<long>(offset + n)};
}

size_t MenuOffset(int m) {
    return 25 + 250 * static_cast<size_t>(m - 1);
}
size_t FormOffset(int f) {
    return 2525 + 601 * static_cast<size_t>(f - 1);
}

TEST(DownloadImage, UntouchedNewTemplate) {
    ApplicationTemplate t = StartupTemplate();
    DownloadImageBuilder b;
    b.BuildDownloadImage(t);
    const DownloadImage& img = b.image();
    EXPECT_EQ(img[0], 1);
    EXPECT_EQ(Slice(img, 1, 24), Slice(img, 1, 24));
    EXPECT_EQ(img[1], 0x9B);
    EXPECT_EQ(img[24], 0x00);
    EXPECT_EQ(img[21], 0x66);
    std::vector<u8> blankOption(20, ' ');
    blankOption.push_back(0);
    for (int m = 1; m <= 10; ++m) {
        for (int o = 0; o < 10; ++o)
            EXPECT_EQ(Slice(img, MenuOffset(m) + 23 + 21 * static_cast<size_t>(o), 21), blankOption);
        EXPECT_EQ(img[MenuOffset(m) + 247], 0);  // optionCount
        EXPECT_EQ(img[MenuOffset(m) + 2], 0);    // title untouched without showTitle
    }
    EXPECT_EQ(img[FormOffset(3) + 2], 3);  // nextTarget
    EXPECT_EQ(Slice(img, 8594, 8), (std::vector<u8>{1, 1, 1, 1, 50, 1, 1, 0}));
    EXPECT_EQ(img[8592], 44);
    EXPECT_EQ(img[8593], 0);
    EXPECT_EQ(img[8535 + 3], 1);  // lookup file 1 fieldStart[0]
    for (size_t i = 8624; i < kDownloadImageSize; ++i) ASSERT_EQ(img[i], 0) << i;
}

TEST(DownloadImage, StartPositionAndStartupConversion) {
    ApplicationTemplate t = StartupTemplate();
    t.startPosition = 1;
    t.startupSettings = {3, 2, 4, 1, 99, 1, 255, 7, {1, 0, 1}};
    DownloadImageBuilder b;
    b.BuildDownloadImage(t);
    EXPECT_EQ(b.image()[0], 11);
    EXPECT_EQ(Slice(b.image(), 8594, 11), (std::vector<u8>{4, 3, 5, 2, 50, 2, 0, 7, 1, 0, 1}));
}

TEST(DownloadImage, MenuTextsArePaddedToTheRowWidth) {
    ApplicationTemplate t = StartupTemplate();
    MenuRecord& m = t.menu(2);
    m.narrowRows = 1;
    m.showTitle = 1;
    WriteFieldText(m.title, "ABCDEFGHIJKLMNOPQ", 20);  // 17 bytes: cut to 15
    WriteFieldText(m.options[0], "AB", 15);
    WriteFieldText(m.options[1], "\xAA\xED", 15);  // one Chinese character
    WriteFieldText(m.options[2], "   ", 15);       // blanks only: not counted
    WriteFieldText(m.options[3], " x", 15);        // a blank then a letter: counted
    DownloadImageBuilder b;
    b.BuildDownloadImage(t);
    const size_t base = MenuOffset(2);
    std::vector<u8> title = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 0};
    EXPECT_EQ(Slice(b.image(), base + 2, 16), title);
    std::vector<u8> ab = {'A', 'B', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0};
    EXPECT_EQ(Slice(b.image(), base + 23, 16), ab);
    std::vector<u8> zh = {0xAA, 0xED, ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0};
    EXPECT_EQ(Slice(b.image(), base + 23 + 21, 16), zh);
    EXPECT_EQ(b.image()[base + 247], 3);
    // The template keeps its own texts; only the image is compiled.
    EXPECT_EQ(FieldText(t.menu(2).options[0]), "AB");
}

TEST(DownloadImage, NumericPrefixesBecomeByteCodes) {
    struct Case {
        const char* text;
        bool has;
        std::vector<u8> expected;  // the field's first bytes in the image
    } cases[] = {
        {"13 10", true, {13, 10, 0}},
        {"13 10", false, {'1', '3', ' ', '1', '0', 0}},
        {" 65  66  ", true, {65, 66, 0}},
        {"12", true, {12, 0}},
        {"A1", true, {'A', '1', 0}},
        {"    ", true, {0}},
        {"0 0", true, {0}},
        {"65 300", true, {'6', '5', ' ', '3', '0', '0', 0}},
        {"255 1", true, {255, 1, 0}},
    };
    for (const Case& c : cases) {
        ApplicationTemplate t = StartupTemplate();
        FormRecord& f = t.form(4);
        f.hasPrefix[2] = c.has;
        WriteFieldText(f.prefix[2], c.text, 9);
        f.hasSuffix[7] = 1;
        WriteFieldText(f.suffix[7], c.text, 9);
        DownloadImageBuilder b;
        b.BuildDownloadImage(t);
        EXPECT_EQ(Slice(b.image(), FormOffset(4) + 335 + 10 * 2, c.expected.size()), c.expected) << c.text;
        EXPECT_EQ(FieldText(t.form(4).prefix[2]), c.text) << "the template keeps the typed text";
    }
}

TEST(DownloadImage, PasswordIsUpperCasedAndTemplateDerivedFieldsUpdated) {
    ApplicationTemplate t = StartupTemplate();
    WriteFieldText(t.securityPassword, "ab9z{xyzQq");
    FormRecord& f = t.form(1);
    f.lineType[0] = kLineContinuation;
    WriteFieldText(f.prompt[0], "gone", 15);
    f.lookupField[0] = 2;
    f.lineType[5] = kLineNumeric;
    f.maxLength[5] = 70;
    DownloadImageBuilder b;
    b.BuildDownloadImage(t);
    EXPECT_EQ(Slice(b.image(), 8614, 10),
              (std::vector<u8>{'A', 'B', '9', 'Z', '{', 'X', 'Y', 'Z', 'Q', 'Q'}));
    EXPECT_EQ(t.form(1).lastInputLine, 6);
    EXPECT_EQ(t.form(1).maxLength[5], 50);
    EXPECT_EQ(t.form(1).prompt[0][0], 0);
    EXPECT_EQ(b.image()[FormOffset(1) + 599], 6);
}

TEST(DownloadImage, BuildingTwiceGivesTheSameImage) {
    ApplicationTemplate t = StartupTemplate();
    WriteFieldText(t.menu(1).options[0], "Go", 15);
    DownloadImageBuilder b;
    b.BuildDownloadImage(t);
    DownloadImage first = b.image();
    b.BuildDownloadImage(t);
    EXPECT_EQ(first, b.image());
}

TEST(DownloadImage, ArbitraryTemplatesBuildWithinBounds) {
    std::mt19937 rng(99);
    DownloadImageBuilder b;
    for (int round = 0; round < 200; ++round) {
        ApplicationTemplate t;
        for (size_t i = 0; i < sizeof t; ++i) t.bytes()[i] = static_cast<u8>(rng() % 4 ? rng() : 0);
        b.BuildDownloadImage(t);
        for (size_t i = 8624; i < kDownloadImageSize; ++i) ASSERT_EQ(b.image()[i], 0);
        for (int m = 0; m < 10; ++m) ASSERT_LE(b.image()[MenuOffset(m + 1) + 247], 10);
    }
}

}  // namespace
}  // namespace k52
