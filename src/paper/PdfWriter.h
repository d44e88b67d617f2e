// A very small PDF writer for k52cli, which links no toolkit: A4 pages of filled rectangles and lines of
// text. Latin text is set in Helvetica; other text in a CJK font the viewer supplies (MSung-Light, by
// UTF-16), so nothing is embedded.
#pragma once

#include <string>
#include <vector>

#include "paper/Canvas.h"

namespace k52 {

class PdfWriter : public Canvas {
  public:
    static constexpr double kPageWidthMm = 210;
    static constexpr double kPageHeightMm = 297;

    void NewPage() override;
    void Gray(double level) override;
    void Rect(double x, double y, double width, double height) override;
    void Text(double x, double y, double size, const std::string& text) override;
    // The whole file.
    std::string Finish(const std::string& title);

  private:
    std::vector<std::string> pages_;  // each page's content stream
};

}  // namespace k52
