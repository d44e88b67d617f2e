// The sheet's HTML read into a small tree, then laid out top to bottom, a page at a time; a grid too
// long for the page goes on over the next one row by row.
#include "paper/SheetPdf.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "paper/DisplayGlyphs.h"
#include "paper/PdfWriter.h"

namespace k52 {

namespace {

struct Node {
    std::string tag;  // empty for text
    std::string cls;
    int colspan = 1;
    std::string text;
    std::vector<Node> children;
};

std::string Attribute(std::string_view tag, std::string_view name) {
    const std::string key = " " + std::string(name) + "=\"";
    std::size_t at = tag.find(key);
    if (at == std::string_view::npos) return {};
    at += key.size();
    const std::size_t end = tag.find('"', at);
    return std::string(tag.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
}

std::string DecodeEntities(std::string_view s) {
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&ndash;", "-"}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool replaced = false;
        if (s[i] == '&')
            for (const auto& [entity, text] : kEntities)
                if (s.substr(i, entity.size()) == entity) {
                    out += text;
                    i += entity.size();
                    replaced = true;
                    break;
                }
        if (!replaced) out += s[i++];
    }
    return out;
}

bool Blank(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
}

Node Parse(const std::string& html) {
    static constexpr std::string_view kElements[] = {"table", "tr", "td", "th", "h1", "h2", "h3", "p"};
    Node root;
    std::vector<Node*> open{&root};
    bool inHead = false;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] != '<') {
            const std::size_t end = std::min(html.find('<', i), html.size());
            const std::string_view text(html.data() + i, end - i);
            if (!inHead && !Blank(text)) {
                Node n;
                n.text = DecodeEntities(text);
                open.back()->children.push_back(std::move(n));
            }
            i = end;
            continue;
        }
        const std::size_t end = html.find('>', i);
        if (end == std::string::npos) break;
        const std::string_view tag(html.data() + i + 1, end - i - 1);
        i = end + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        std::string name;
        for (std::size_t k = closing ? 1 : 0;
             k < tag.size() && std::isalnum(static_cast<unsigned char>(tag[k])); ++k)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(tag[k])));
        if (name == "head") inHead = !closing;
        if (inHead || std::find(std::begin(kElements), std::end(kElements), name) == std::end(kElements))
            continue;
        if (closing) {
            const auto match =
                std::find_if(open.rbegin(), open.rend(), [&](Node* n) { return n->tag == name; });
            if (match != open.rend()) open.erase(std::next(match).base(), open.end());
            continue;
        }
        Node n;
        n.tag = name;
        n.cls = Attribute(tag, "class");
        n.colspan = std::clamp(std::atoi(Attribute(tag, "colspan").c_str()), 1, 40);
        open.back()->children.push_back(std::move(n));
        open.push_back(&open.back()->children.back());
    }
    return root;
}

std::string TextOf(const Node& n) {
    if (n.tag.empty()) return n.text;
    std::string out;
    for (const Node& c : n.children) out += TextOf(c);
    return out;
}

// The byte length of the UTF-8 sequence that starts with `lead`.
std::size_t SequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 1;
}

constexpr double kMmPerPoint = 25.4 / 72;

// Helvetica's letters average about half their size; the CJK font's are square.
double TextWidth(std::string_view utf8, double points) {
    double ems = 0;
    for (std::size_t i = 0; i < utf8.size(); i += SequenceLength(static_cast<unsigned char>(utf8[i])))
        ems += static_cast<unsigned char>(utf8[i]) < 0x80 ? 0.55 : 1.0;
    return ems * points * kMmPerPoint;
}

// Lines of at most `width`, broken at spaces or beside a wide character.
std::vector<std::string> Wrap(const std::string& text, double points, double width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t lastBreak = std::string::npos;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        const bool wide = n > 1;
        if (wide || text[i] == ' ') lastBreak = line.size();
        line.append(text, i, n);
        i += n;
        if (TextWidth(line, points) > width && line.size() > n) {
            const std::size_t cut =
                lastBreak != std::string::npos && lastBreak > 0 ? lastBreak : line.size() - n;
            lines.push_back(line.substr(0, cut));
            line.erase(0, cut);
            if (!line.empty() && line[0] == ' ') line.erase(0, 1);
            lastBreak = std::string::npos;
        }
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

// The widest run that Wrap does not break: a word of narrow characters, or one wide character.
double LongestWord(const std::string& text, double points) {
    double longest = 0;
    std::string word;
    for (std::size_t i = 0; i <= text.size();) {
        const std::size_t n =
            i < text.size() ? std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i)
                            : 1;
        if (i == text.size() || text[i] == ' ' || n > 1) {
            longest = std::max(longest, TextWidth(word, points));
            word.clear();
            if (i < text.size() && n > 1) longest = std::max(longest, TextWidth(text.substr(i, n), points));
        } else {
            word += text[i];
        }
        i += n;
    }
    return longest;
}

constexpr double kMargin = 12;
constexpr double kContentWidth = PdfWriter::kPageWidthMm - 2 * kMargin;
constexpr double kBottom = PdfWriter::kPageHeightMm - kMargin;
constexpr double kCellPoints = 8.5;
constexpr double kCellLine = 3.8;
constexpr double kPad = 1.2;

std::vector<const Node*> Children(const Node& n, std::string_view tag) {
    std::vector<const Node*> out;
    for (const Node& c : n.children)
        if (c.tag == tag || (tag == "td" && c.tag == "th")) out.push_back(&c);
    return out;
}

void Frame(Canvas& pdf, double x, double y, double w, double h) {
    constexpr double t = 0.2;
    pdf.Rect(x, y, w, t);
    pdf.Rect(x, y + h - t, w, t);
    pdf.Rect(x, y, t, h);
    pdf.Rect(x + w - t, y, t, h);
}

// A grid's columns fitted to the width it may take, and its rows' heights.
struct Grid {
    std::vector<std::vector<const Node*>> rows;
    std::vector<double> widths;
    std::vector<double> heights;

    Grid(const Node& table, double width) {
        for (const Node* tr : Children(table, "tr")) rows.push_back(Children(*tr, "td"));
        std::size_t columns = 0;
        for (const auto& r : rows) columns = std::max(columns, r.size());
        // As a browser sizes a table: no column narrower than its longest word, the room left given to
        // the columns that want more.
        std::vector<double> natural(columns, 6), least(columns, 6);
        for (const auto& r : rows)
            for (std::size_t c = 0; c < r.size(); ++c) {
                const std::string text = TextOf(*r[c]);
                natural[c] = std::max(natural[c], TextWidth(text, kCellPoints) + 2 * kPad + 0.5);
                least[c] = std::max(least[c], LongestWord(text, kCellPoints) + 2 * kPad + 0.5);
            }
        widths = natural;
        double total = 0;
        for (double w : natural) total += w;
        if (total > width && columns > 0) {
            double used = 0, wanting = 0;
            for (std::size_t c = 0; c < columns; ++c) {
                widths[c] = std::min(least[c], natural[c]);
                used += widths[c];
                wanting += natural[c] - widths[c];
            }
            for (std::size_t c = 0; c < columns && wanting > 0 && used < width; ++c)
                widths[c] += (width - used) * (natural[c] - widths[c]) / wanting;
        }
        for (const auto& r : rows) {
            std::size_t lines = 1;
            for (std::size_t c = 0; c < r.size(); ++c)
                lines = std::max(lines, Wrap(TextOf(*r[c]), kCellPoints, widths[c] - 2 * kPad).size());
            heights.push_back(static_cast<double>(lines) * kCellLine + 2 * kPad);
        }
    }

    double Width() const {
        double w = 0;
        for (double c : widths) w += c;
        return w;
    }
    double Height() const {
        double h = 0;
        for (double r : heights) h += r;
        return h;
    }

    void DrawRow(Canvas& pdf, std::size_t r, double x, double y) const {
        double cx = x;
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (rows[r][c]->tag == "th") {
                pdf.Gray(0.88);
                pdf.Rect(cx, y, widths[c], heights[r]);
            }
            pdf.Gray(0.45);
            Frame(pdf, cx, y, widths[c], heights[r]);
            pdf.Gray(0);
            double ty = y + kPad + kCellLine * 0.8;
            for (const std::string& line : Wrap(TextOf(*rows[r][c]), kCellPoints, widths[c] - 2 * kPad)) {
                pdf.Text(cx + kPad, ty, kCellPoints, line);
                ty += kCellLine;
            }
            cx += widths[c];
        }
    }
};

// The terminal's display: 20 cells by 8 rows of 6 by 10 pixels, a wide character over two cells.
constexpr double kLcdPixel = 0.55;
constexpr double kLcdCell = kGlyphWidth * kLcdPixel;
constexpr double kLcdRow = kGlyphHeight * kLcdPixel;
constexpr double kLcdBorder = 1.2;
constexpr double kLcdWidth = 20 * kLcdCell + 2 * kLcdBorder;
constexpr double kLcdHeight = 8 * kLcdRow + 2 * kLcdBorder;

// The first code point of a cell's UTF-8 text; 0 for none.
char32_t FirstCodePoint(std::string_view utf8) {
    if (utf8.empty()) return 0;
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const std::size_t n = SequenceLength(lead);
    if (n > utf8.size()) return 0xFFFD;
    char32_t c = n == 1 ? char32_t{lead} : char32_t{lead} & (char32_t{0x7F} >> n);
    for (std::size_t k = 1; k < n; ++k)
        c = (c << 6) | (char32_t{static_cast<unsigned char>(utf8[k])} & 0x3Fu);
    return c;
}

// A glyph's dark pixels as one rectangle per run along each pixel row.
void DrawGlyph(Canvas& pdf, const Glyph& g, double x, double y) {
    for (int row = 0; row < kGlyphHeight; ++row) {
        const unsigned bits = g.rows[static_cast<std::size_t>(row)];
        for (int px = 0; px < g.width;) {
            const auto dark = [&](int at) { return (bits >> (g.width - 1 - at)) & 1u; };
            if (!dark(px)) {
                ++px;
                continue;
            }
            const int start = px;
            while (px < g.width && dark(px)) ++px;
            pdf.Rect(x + start * kLcdPixel, y + row * kLcdPixel, (px - start) * kLcdPixel, kLcdPixel);
        }
    }
}

void DrawScreen(Canvas& pdf, const Node& table, double x, double y, const GlyphSource* glyphs) {
    pdf.Gray(0.25);
    pdf.Rect(x, y, kLcdWidth, kLcdHeight);
    pdf.Gray(0.82);
    pdf.Rect(x + kLcdBorder, y + kLcdBorder, 20 * kLcdCell, 8 * kLcdRow);
    double ry = y + kLcdBorder;
    for (const Node* tr : Children(table, "tr")) {
        const bool highlighted = tr->cls == "hl";
        if (highlighted) {
            pdf.Gray(0.25);
            pdf.Rect(x + kLcdBorder, ry, 20 * kLcdCell, kLcdRow);
        }
        pdf.Gray(highlighted ? 1 : 0);
        double cx = x + kLcdBorder;
        for (const Node* td : Children(*tr, "td")) {
            const double w = td->colspan * kLcdCell;
            const std::string text = TextOf(*td);
            if (!Blank(text)) {
                const std::optional<Glyph> glyph =
                    glyphs ? glyphs->GlyphOf(FirstCodePoint(text), td->colspan > 1) : std::nullopt;
                if (glyph)
                    DrawGlyph(pdf, *glyph, cx, ry);
                else
                    pdf.Text(cx + (w - TextWidth(text, 10)) / 2, ry + kLcdRow * 0.78, 10, text);
            }
            cx += w;
        }
        ry += kLcdRow;
    }
    pdf.Gray(0);
}

class Layout {
  public:
    Layout(Canvas& pdf, const GlyphSource* glyphs) : pdf_(pdf), glyphs_(glyphs) { pdf_.NewPage(); }

    void Block(const Node& n) {
        if (n.tag == "h1" || n.tag == "h2" || n.tag == "h3") {
            const double points = n.tag == "h1" ? 16 : n.tag == "h2" ? 13 : 11;
            const double before = n.tag == "h1" ? 0 : n.tag == "h2" ? 6 : 4;
            const double line = points * kMmPerPoint * 1.3;
            // A heading stays with what follows it: a screen under a menu's or a form's, a few rows else.
            Need(before + line + (n.tag == "h3" ? 46 : 14));
            y_ += before;
            pdf_.Text(kMargin, y_ + line * 0.8, points, TextOf(n));
            y_ += line;
            if (n.tag == "h2") pdf_.Rect(kMargin, y_ + 0.3, kContentWidth, 0.3);
            y_ += 2;
        } else if (n.tag == "p") {
            for (const std::string& line : Wrap(TextOf(n), 10, kContentWidth)) {
                Need(5);
                pdf_.Text(kMargin, y_ + 4, 10, line);
                y_ += 5;
            }
            y_ += 1;
        } else if (n.tag == "table" && n.cls == "beside") {
            Beside(n);
        } else if (n.tag == "table" && n.cls == "sign") {
            Need(16);
            double x = kMargin;
            for (const Node* tr : Children(n, "tr"))
                for (const Node* td : Children(*tr, "td")) {
                    pdf_.Text(x, y_ + 4, 9, TextOf(*td));
                    pdf_.Rect(x, y_ + 13, 55, 0.3);
                    x += 62;
                }
            y_ += 17;
        } else if (n.tag == "table") {
            const Grid grid(n, kContentWidth);
            for (std::size_t r = 0; r < grid.rows.size(); ++r) {
                Need(grid.heights[r]);
                grid.DrawRow(pdf_, r, kMargin, y_);
                y_ += grid.heights[r];
            }
            y_ += 3;
        } else {
            for (std::size_t i = 0; i < n.children.size(); ++i) {
                const Node& c = n.children[i];
                // A menu's or a form's heading goes on the page its screen and tables go on.
                if (c.tag == "h3" && i + 1 < n.children.size() && n.children[i + 1].cls == "beside")
                    Need(12 + BesideHeight(n.children[i + 1]));
                Block(c);
            }
        }
    }

  private:
    void Need(double height) {
        if (y_ + height <= kBottom || y_ <= kMargin) return;
        pdf_.NewPage();
        y_ = kMargin;
    }

    static constexpr double kRightX = kMargin + kLcdWidth + 6;
    static constexpr double kRightWidth = kContentWidth - kLcdWidth - 6;

    static std::vector<const Node*> BesideCells(const Node& n) {
        const std::vector<const Node*> trs = Children(n, "tr");
        return trs.empty() ? std::vector<const Node*>{} : Children(*trs[0], "td");
    }

    static double BesideHeight(const Node& n) {
        const std::vector<const Node*> cells = BesideCells(n);
        double right = 0;
        if (cells.size() > 1)
            for (const Node& c : cells[1]->children)
                right += c.tag == "table" ? Grid(c, kRightWidth).Height() + 2 : c.tag == "p" ? 5 : 0;
        return std::max(kLcdHeight, right) + 2;
    }

    // The screen on the left, the grids and notes of the right cell beside it.
    void Beside(const Node& n) {
        const std::vector<const Node*> cells = BesideCells(n);
        if (cells.empty()) return;
        const double rightX = kRightX;
        std::vector<Grid> grids;
        if (cells.size() > 1)
            for (const Node& c : cells[1]->children)
                if (c.tag == "table") grids.emplace_back(c, kRightWidth);
        Need(BesideHeight(n));
        if (!cells.empty())
            for (const Node& c : cells[0]->children)
                if (c.tag == "table") DrawScreen(pdf_, c, kMargin, y_, glyphs_);
        double ry = y_;
        std::size_t g = 0;
        if (cells.size() > 1)
            for (const Node& c : cells[1]->children) {
                if (c.tag == "table" && g < grids.size()) {
                    for (std::size_t r = 0; r < grids[g].rows.size(); ++r) {
                        grids[g].DrawRow(pdf_, r, rightX, ry);
                        ry += grids[g].heights[r];
                    }
                    ry += 2;
                    ++g;
                } else if (c.tag == "p") {
                    pdf_.Text(rightX, ry + 4, 9, TextOf(c));
                    ry += 5;
                }
            }
        y_ = std::max(y_ + kLcdHeight, ry) + 4;
    }

    Canvas& pdf_;
    const GlyphSource* glyphs_;
    double y_ = kMargin;
};

}  // namespace

void LayOutSheet(const std::string& html, Canvas& canvas, const GlyphSource* glyphs) {
    Layout layout(canvas, glyphs);
    layout.Block(Parse(html));
}

void LayOutSheet(const std::string& html, Canvas& canvas) {
    const std::unique_ptr<GlyphSource> display = DisplayFontGlyphs();
    LayOutSheet(html, canvas, display.get());
}

std::string SheetPdf(const std::string& html, const std::string& title) {
    PdfWriter pdf;
    LayOutSheet(html, pdf);
    return pdf.Finish(title);
}

}  // namespace k52
