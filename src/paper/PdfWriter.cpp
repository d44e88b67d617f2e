// The PDF file: one catalog, a page tree, two fonts shared by every page, a content stream per page.
#include "paper/PdfWriter.h"

#include <cstdio>

namespace k52 {

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

std::string Num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    return buffer;
}

// A PDF literal string of Latin-1 bytes.
std::string Literal(const std::string& latin) {
    std::string out = "(";
    for (char c : latin) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out + ")";
}

// UTF-8 to code points; a broken sequence gives U+FFFD.
std::vector<char32_t> CodePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<std::size_t>(extra) >= utf8.size())) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        auto c = static_cast<char32_t>(extra == 0 ? b : (b & (0x3F >> extra)));
        for (int k = 1; k <= extra; ++k)
            c = (c << 6) | static_cast<char32_t>(
                               static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16Hex(const std::vector<char32_t>& run) {
    std::string out = "<";
    char buffer[8];
    auto unit = [&](unsigned v) {
        std::snprintf(buffer, sizeof buffer, "%04X", v);
        out += buffer;
    };
    for (char32_t c : run) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(static_cast<unsigned>(c));
        }
    }
    return out + ">";
}

}  // namespace

void PdfWriter::NewPage() {
    pages_.emplace_back();
}

void PdfWriter::Rect(double x, double y, double width, double height) {
    if (pages_.empty()) NewPage();
    pages_.back() += Num(x * kPointsPerMm) + " " + Num((kPageHeightMm - y - height) * kPointsPerMm) + " " +
                     Num(width * kPointsPerMm) + " " + Num(height * kPointsPerMm) + " re f\n";
}

void PdfWriter::Gray(double level) {
    if (pages_.empty()) NewPage();
    pages_.back() += Num(level) + " g\n";
}

void PdfWriter::Text(double x, double y, double size, const std::string& text) {
    if (pages_.empty()) NewPage();
    std::string& page = pages_.back();
    page += "BT " + Num(x * kPointsPerMm) + " " + Num((kPageHeightMm - y) * kPointsPerMm) + " Td\n";
    // Runs of Latin-1 in Helvetica, the rest in the CJK font; each run moves the pen by its own width.
    const std::vector<char32_t> points = CodePoints(text);
    for (std::size_t i = 0; i < points.size();) {
        const bool latin = points[i] < 0x100;
        std::size_t j = i;
        while (j < points.size() && (points[j] < 0x100) == latin) ++j;
        if (latin) {
            std::string run;
            for (std::size_t k = i; k < j; ++k) run += static_cast<char>(points[k]);
            page += "/F1 " + Num(size) + " Tf " + Literal(run) + " Tj\n";
        } else {
            page += "/F2 " + Num(size) + " Tf " +
                    Utf16Hex(std::vector<char32_t>(points.begin() + static_cast<long>(i),
                                                   points.begin() + static_cast<long>(j))) +
                    " Tj\n";
        }
        i = j;
    }
    page += "ET\n";
}

std::string PdfWriter::Finish(const std::string& title) {
    if (pages_.empty()) NewPage();
    std::vector<std::string> objects;  // object n is objects[n - 1]
    const std::size_t pageCount = pages_.size();
    // 1 catalog, 2 page tree, 3 Helvetica, 4 the CJK font, 5 its descendant, 6 info, then page/content pairs.
    std::string kids;
    for (std::size_t p = 0; p < pageCount; ++p) kids += std::to_string(7 + 2 * p) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageCount) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    objects.push_back(
        "<< /Type /Font /Subtype /Type0 /BaseFont /MSung-Light /Encoding /UniCNS-UTF16-H /DescendantFonts [5 "
        "0 "
        "R] >>");
    objects.push_back(
        "<< /Type /Font /Subtype /CIDFontType0 /BaseFont /MSung-Light /CIDSystemInfo << /Registry (Adobe) "
        "/Ordering (CNS1) /Supplement 0 >> /FontDescriptor << /Type /FontDescriptor /FontName /MSung-Light "
        "/Flags 6 /FontBBox [-160 -259 1015 888] /ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 880 "
        "/StemV 93 >> /DW 1000 >>");
    std::string latinTitle;
    for (char32_t c : CodePoints(title)) latinTitle += c < 0x80 ? static_cast<char>(c) : '?';
    objects.push_back("<< /Title " + Literal(latinTitle) + " /Producer (k52cli) >>");
    for (std::size_t p = 0; p < pageCount; ++p) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Num(kPageWidthMm * kPointsPerMm) +
                          " " + Num(kPageHeightMm * kPointsPerMm) +
                          "] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
                          "/Contents " +
                          std::to_string(8 + 2 * p) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(pages_[p].size()) + " >>\nstream\n" + pages_[p] +
                          "endstream");
    }
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t n = 0; n < objects.size(); ++n) {
        offsets.push_back(out.size());
        out += std::to_string(n + 1) + " 0 obj\n" + objects[n] + "\nendobj\n";
    }
    const std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    char line[24];
    for (std::size_t offset : offsets) {
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R /Info 6 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

}  // namespace k52
