// Test labels: which ones a template's barcode settings call for, and libzint drawing them.
#include "paper/TestLabels.h"

#include <zint.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "i18n/Translate.h"
#include "paper/PdfWriter.h"

namespace k52 {

namespace {

// A module of 0.33 mm, the usual X-dimension of a printed label, and bars 12 mm high.
constexpr double kModuleMm = 0.33;
constexpr double kBarHeightMm = 12;
// No test label is made longer than this: longer lengths are not worth a label of their own.
constexpr int kLongestLabel = 40;

std::string Digits(int count) {
    std::string d;
    for (int i = 0; i < count; ++i) d += static_cast<char>('1' + (i % 9));
    return d;
}

// The mod-10 check digit of the 2 of 5 family (weights 3 and 1 from the right).
char Mod10(const std::string& digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int d = digits[digits.size() - 1 - i] - '0';
        sum += i % 2 == 0 ? 3 * d : d;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

char WrongDigit(char right) {
    return static_cast<char>('0' + (right - '0' + 5) % 10);
}

// The zint symbology drawing a 2 of 5 label with a given start/stop pattern (0 Industrial, 1 Interleave,
// 2 Matrix): the terminal looks for the pattern, not the name.
int TwoOfFive(int pattern) {
    return pattern == 1 ? BARCODE_C25INTER : pattern == 2 ? BARCODE_C25STANDARD : BARCODE_C25IND;
}

int Bits(const BarcodeSettings& b, int byte, int shift, int mask) {
    return (b.bytes()[byte] >> shift) & mask;
}

struct Rule {
    int zint = 0;
    bool verifies = false;  // the terminal verifies a check digit
    int zintCheck = 0;      // option_2 that adds it
    std::string data;       // a good label's data, before the check digit
};

// The good label of each symbology under the settings; zint 0 when libzint cannot draw it.
Rule GoodRule(const BarcodeSettings& b, const SymbologyInfo& s) {
    auto length = [&](int fallback) {
        if (!s.lengths) return fallback;
        const LengthRule rule = LengthRuleOf(b.*s.lengths);
        if (rule.fixed) return rule.a;
        return std::clamp(fallback, std::max(rule.b, 1), std::max(rule.a, 1));
    };
    switch (s.symbology) {
        case Symbology::Code39: {
            const bool verify = Bit(b, 5, 6);
            return {BARCODE_CODE39, verify, verify ? 1 : 0, "K52-TEST"};
        }
        case Symbology::ItalyPharma:
            return {BARCODE_CODE32, true, 0, "12345678"};
        case Symbology::FrenchPharma:
            // libzint has no French pharmacy code: it is a Code 39 symbol of seven digits.
            return {BARCODE_CODE39, false, 0, "3400935"};
        case Symbology::Industrial25:
        case Symbology::Interleave25:
        case Symbology::Matrix25: {
            const int pattern = s.symbology == Symbology::Industrial25   ? Bits(b, 6, 0, 3)
                                : s.symbology == Symbology::Interleave25 ? Bits(b, 6, 2, 3)
                                                                         : Bits(b, 7, 6, 3);
            const bool verify = s.symbology == Symbology::Industrial25   ? Bit(b, 6, 7)
                                : s.symbology == Symbology::Interleave25 ? Bit(b, 5, 1)
                                                                         : Bit(b, 6, 5);
            // The lengths count the check digit when there is one.
            int total = length(8);
            if (TwoOfFive(pattern) == BARCODE_C25INTER && total % 2 != 0 && total > 1) --total;
            return {TwoOfFive(pattern), verify, verify ? 1 : 0,
                    Digits(std::max(total - (verify ? 1 : 0), 1))};
        }
        case Symbology::Codabar:
            return {BARCODE_CODABAR, false, 0, "A123456B"};
        case Symbology::Msi: {
            const int method = Bits(b, 9, 6, 3);
            const int checks = method == 0 ? 1 : 2;
            return {BARCODE_MSI_PLESSEY, true,
                    method == 0   ? 1
                    : method == 1 ? 2
                                  : 4,
                    Digits(std::max(length(8) - checks, 1))};
        }
        case Symbology::Plessey:
            return {BARCODE_PLESSEY, false, 0, "52A1B2"};
        case Symbology::Code93:
            return {BARCODE_CODE93, false, 0, "K52-93"};
        case Symbology::Code128:
            return {BARCODE_CODE128, false, 0, "K52 Code 128"};
        case Symbology::Upce:
            return {BARCODE_UPCE, false, 0, "0123456"};
        case Symbology::Ean8:
            return {BARCODE_EANX, false, 0, "1234567"};
        case Symbology::Ean13Upca:
            return {BARCODE_EANX, false, 0, "471234567890"};
    }
    return {};
}

void Add(std::vector<TestLabel>& out, const SymbologyInfo& s, LabelFault fault, int zint, int check,
         std::string data) {
    std::string name(s.name);
    if (s.symbology == Symbology::FrenchPharma) name += " (Code 39)";
    out.push_back({s.symbology, fault, zint, check, std::move(data), std::move(name)});
}

}  // namespace

std::vector<TestLabel> TestLabelsOf(const BarcodeSettings& b) {
    std::vector<TestLabel> good, wrong;
    for (const SymbologyInfo& s : Symbologies()) {
        const Rule rule = GoodRule(b, s);
        if (!Enabled(b, s)) {
            // A label the terminal must not read, as long as the symbology has a sensible one.
            if (s.symbology != Symbology::FrenchPharma)
                Add(wrong, s, LabelFault::Disabled, rule.zint, rule.zintCheck, rule.data);
            continue;
        }
        Add(good, s, LabelFault::None, rule.zint, rule.zintCheck, rule.data);
        // The add-ons the terminal reads, each on its own label.
        if (s.symbology == Symbology::Upce || s.symbology == Symbology::Ean8 ||
            s.symbology == Symbology::Ean13Upca) {
            const int byte = s.symbology == Symbology::Ean13Upca ? 2 : 1;
            const int two = s.symbology == Symbology::Upce ? 5 : s.symbology == Symbology::Ean8 ? 2 : 7;
            if (Bit(b, byte, two)) Add(good, s, LabelFault::None, rule.zint, 0, rule.data + "+12");
            if (Bit(b, byte, two - 1)) Add(good, s, LabelFault::None, rule.zint, 0, rule.data + "+12345");
        }
        if (rule.verifies) {
            if (s.symbology == Symbology::Msi) {
                Add(wrong, s, LabelFault::NoCheckDigit, rule.zint, 0, rule.data);
            } else if (s.symbology != Symbology::ItalyPharma && s.symbology != Symbology::Code39) {
                Add(wrong, s, LabelFault::BadCheckDigit, rule.zint, 0,
                    rule.data + WrongDigit(Mod10(rule.data)));
            } else if (s.symbology == Symbology::Code39) {
                Add(wrong, s, LabelFault::NoCheckDigit, rule.zint, 0, rule.data);
            }
        }
        if (s.lengths) {
            const LengthRule lengths = LengthRuleOf(b.*s.lengths);
            const int checks = rule.zintCheck == 0                                    ? 0
                               : s.symbology == Symbology::Msi && rule.zintCheck != 1 ? 2
                                                                                      : 1;
            auto digits = [&](int total) { return Digits(std::max(total - checks, 1)); };
            // Interleave 25 carries digits in pairs: an odd count would gain a leading zero.
            const bool pairs = rule.zint == BARCODE_C25INTER;
            auto below = [&](int n) { return pairs && n % 2 != 0 ? n - 1 : n; };
            auto above = [&](int n) { return pairs && n % 2 != 0 ? n + 1 : n; };
            if (lengths.fixed) {
                const int other = above(std::max(lengths.a, lengths.b) + 1);
                if (other <= kLongestLabel)
                    Add(wrong, s, LabelFault::WrongLength, rule.zint, rule.zintCheck, digits(other));
            } else {
                const int shorter = below(lengths.b - 1), longer = above(lengths.a + 1);
                if (shorter > checks)
                    Add(wrong, s, LabelFault::TooShort, rule.zint, rule.zintCheck, digits(shorter));
                if (longer <= kLongestLabel)
                    Add(wrong, s, LabelFault::TooLong, rule.zint, rule.zintCheck, digits(longer));
            }
        }
    }
    good.insert(good.end(), wrong.begin(), wrong.end());
    return good;
}

std::string LabelCaption(const TestLabel& label) {
    const char* why = nullptr;
    switch (label.fault) {
        case LabelFault::None:
            return Substitute(Localize("%1: read"), {label.name});
        case LabelFault::TooShort:
            why = K52_EN("too short");
            break;
        case LabelFault::TooLong:
            why = K52_EN("too long");
            break;
        case LabelFault::WrongLength:
            why = K52_EN("not one of its lengths");
            break;
        case LabelFault::BadCheckDigit:
            why = K52_EN("wrong check digit");
            break;
        case LabelFault::NoCheckDigit:
            why = K52_EN("no check digit");
            break;
        case LabelFault::Disabled:
            why = K52_EN("symbology off");
            break;
    }
    return Substitute(Localize("%1: refused (%2)"), {label.name, Localize(why)});
}

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

Symbol Encoded(const TestLabel& label, std::string* error) {
    Symbol symbol(ZBarcode_Create());
    if (!symbol) {
        if (error) *error = "out of memory";
        return nullptr;
    }
    symbol->symbology = label.zintSymbology;
    symbol->option_2 = label.zintCheck;
    symbol->height = static_cast<float>(kBarHeightMm / kModuleMm);
    const int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(label.data.data()),
                                   static_cast<int>(label.data.size()));
    if (rc >= ZINT_ERROR) {
        if (error) *error = symbol->errtxt;
        return nullptr;
    }
    return symbol;
}

}  // namespace

std::optional<LabelDrawing> DrawLabel(const TestLabel& label, std::string* error) {
    Symbol symbol = Encoded(label, error);
    if (!symbol) return std::nullopt;
    symbol->show_hrt = 0;
    if (ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector) {
        if (error) *error = symbol->errtxt;
        return std::nullopt;
    }
    // The narrowest bar is one module, whatever units libzint draws in.
    float narrowest = 0;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
        if (r->width > 0 && (narrowest == 0 || r->width < narrowest)) narrowest = r->width;
    if (narrowest == 0) narrowest = 1;
    const double mm = kModuleMm / static_cast<double>(narrowest);
    LabelDrawing d;
    d.width = static_cast<double>(symbol->vector->width) * mm;
    d.height = static_cast<double>(symbol->vector->height) * mm;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
        if (r->colour == -1 || r->colour == 7)
            d.bars.push_back({r->x * mm, r->y * mm, r->width * mm, r->height * mm});
    d.text = reinterpret_cast<const char*>(symbol->text);
    if (d.text.empty()) d.text = label.data;
    return d;
}

bool WriteLabelPng(const TestLabel& label, const std::string& path, std::string* error) {
    Symbol symbol = Encoded(label, error);
    if (!symbol) return false;
    if (path.size() >= sizeof symbol->outfile) {
        if (error) *error = "path too long";
        return false;
    }
    std::snprintf(symbol->outfile, sizeof symbol->outfile, "%s", path.c_str());
    symbol->scale = 2;
    if (ZBarcode_Print(symbol.get(), 0) >= ZINT_ERROR) {
        if (error) *error = symbol->errtxt;
        return false;
    }
    return true;
}

namespace {

// Two labels a row, each cell 95 x 36 mm under a title line.
constexpr double kMarginMm = 12;
constexpr double kCellWidthMm = 93;
constexpr double kCellHeightMm = 34;
constexpr int kRowsPerPage = 7;

struct Placed {
    int page;
    double x, y;  // the cell's top left
};

Placed Place(std::size_t index) {
    const int perPage = 2 * kRowsPerPage;
    const int i = static_cast<int>(index);
    const int onPage = i % perPage;
    return {i / perPage, kMarginMm + (onPage % 2) * (kCellWidthMm + 2),
            kMarginMm + 12 + (onPage / 2) * kCellHeightMm};
}

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

std::string Mm(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", v);
    return buffer;
}

// The bars scaled down only when a label is wider than its cell.
double Fit(const LabelDrawing& d) {
    return d.width > kCellWidthMm - 4 ? (kCellWidthMm - 4) / d.width : 1.0;
}

}  // namespace

std::string LabelSheetSvg(const std::vector<TestLabel>& labels, const std::string& title) {
    const int pages = labels.empty() ? 1 : Place(labels.size() - 1).page + 1;
    const double height = PdfWriter::kPageHeightMm * pages;
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "width=\"210mm\" height=\"" +
        Mm(height) + "mm\" viewBox=\"0 0 210 " + Mm(height) + "\">\n<rect width=\"210\" height=\"" +
        Mm(height) + "\" fill=\"#fff\"/>\n<g font-family=\"sans-serif\">\n";
    for (int p = 0; p < pages; ++p)
        out += "<text x=\"" + Mm(kMarginMm) + "\" y=\"" + Mm(p * PdfWriter::kPageHeightMm + kMarginMm + 5) +
               "\" font-size=\"5\">" + XmlEscape(title) + "</text>\n";
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const Placed at = Place(i);
        const double top = at.page * PdfWriter::kPageHeightMm + at.y;
        out += "<text x=\"" + Mm(at.x) + "\" y=\"" + Mm(top + 3) + "\" font-size=\"3.2\">" +
               XmlEscape(LabelCaption(labels[i])) + "</text>\n";
        std::string error;
        const std::optional<LabelDrawing> d = DrawLabel(labels[i], &error);
        if (!d) {
            out += "<text x=\"" + Mm(at.x) + "\" y=\"" + Mm(top + 10) + "\" font-size=\"3\">" +
                   XmlEscape(error) + "</text>\n";
            continue;
        }
        const double k = Fit(*d);
        // The quiet zone libzint leaves is part of the drawing; the bars go 5 mm under the caption.
        out += "<g transform=\"translate(" + Mm(at.x + 2) + " " + Mm(top + 5) + ") scale(" + Mm(k) + ")\">";
        for (const LabelDrawing::Bar& bar : d->bars)
            out += "<rect x=\"" + Mm(bar.x) + "\" y=\"" + Mm(bar.y) + "\" width=\"" + Mm(bar.width) +
                   "\" height=\"" + Mm(bar.height) + "\"/>";
        out += "</g>\n<text x=\"" + Mm(at.x + 2) + "\" y=\"" + Mm(top + 5 + d->height * k + 3.5) +
               "\" font-size=\"3\" font-family=\"monospace\">" + XmlEscape(d->text) + "</text>\n";
    }
    return out + "</g>\n</svg>\n";
}

std::string LabelSheetPdf(const std::vector<TestLabel>& labels, const std::string& title) {
    PdfWriter pdf;
    int page = -1;
    for (std::size_t i = 0; i <= labels.size(); ++i) {
        if (i == labels.size() && page >= 0) break;
        const Placed at = i < labels.size() ? Place(i) : Placed{0, 0, 0};
        if (at.page != page) {
            pdf.NewPage();
            page = at.page;
            pdf.Text(kMarginMm, kMarginMm + 5, 14, title);
        }
        if (i == labels.size()) break;
        pdf.Text(at.x, at.y + 3, 9, LabelCaption(labels[i]));
        std::string error;
        const std::optional<LabelDrawing> d = DrawLabel(labels[i], &error);
        if (!d) {
            pdf.Text(at.x, at.y + 10, 8, error);
            continue;
        }
        const double k = Fit(*d);
        for (const LabelDrawing::Bar& bar : d->bars)
            pdf.Rect(at.x + 2 + bar.x * k, at.y + 5 + bar.y * k, bar.width * k, bar.height * k);
        pdf.Text(at.x + 2, at.y + 5 + d->height * k + 3.5, 8, d->text);
    }
    return pdf.Finish(title);
}

}  // namespace k52
