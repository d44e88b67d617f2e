// A screen on paper drawn in the display's pixels: where each pixel run lands, worked out by hand from
// the sheet's measures (margin 12 mm, display border 1.2 mm, pixels of 0.55 mm).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "paper/DisplayGlyphs.h"
#include "paper/SheetPdf.h"

namespace k52 {
namespace {

class RecordingCanvas : public Canvas {
  public:
    std::vector<std::string> drawn;
    void NewPage() override {}
    void Gray(double level) override { gray_ = level; }
    void Rect(double x, double y, double w, double h) override {
        char line[96];
        std::snprintf(line, sizeof line, "%.2f: %.2f %.2f %.2f %.2f", gray_, x, y, w, h);
        drawn.push_back(line);
    }
    void Text(double, double, double, const std::string& text) override { drawn.push_back("text " + text); }

  private:
    double gray_ = 0;
};

// 'A' has one run of four pixels along its top row; 中 fills its bottom row across both cells.
class TwoGlyphs : public GlyphSource {
  public:
    std::optional<Glyph> GlyphOf(char32_t c, bool wide) const override {
        Glyph g;
        if (c == U'A' && !wide) {
            g.rows[0] = 0b011110;
        } else if (c == U'中' && wide) {
            g.width = 12;
            g.rows[9] = 0xFFF;
        } else {
            return std::nullopt;
        }
        return g;
    }
};

TEST(SheetScreen, CharactersBecomeTheDisplaysPixelsAndUnknownOnesStayText) {
    const std::string html =
        "<table class=\"beside\"><tr><td class=\"screen\"><table class=\"lcd\">"
        "<tr><td>A</td><td colspan=\"2\">中</td><td>?</td></tr>"
        "<tr class=\"hl\"><td>A</td></tr>"
        "</table></td><td></td></tr></table>";
    RecordingCanvas canvas;
    const TwoGlyphs glyphs;
    LayOutSheet(html, canvas, &glyphs);
    const std::vector<std::string> expected = {
        "0.25: 12.00 12.00 68.40 46.40",  // the case: 20 x 6 by 8 x 10 pixels and the border
        "0.82: 13.20 13.20 66.00 44.00",  // the glass
        "0.00: 13.75 13.20 2.20 0.55",    // A's run, from its second pixel
        "0.00: 16.50 18.15 6.60 0.55",    // 中 from the second cell, its tenth pixel row
        "text ?",
        "0.25: 13.20 18.70 66.00 5.50",  // the highlighted second row
        "1.00: 13.75 18.70 2.20 0.55",   // A light on dark
    };
    EXPECT_EQ(canvas.drawn, expected);
}

}  // namespace
}  // namespace k52
