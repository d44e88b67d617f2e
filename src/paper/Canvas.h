// What the sheets are drawn on: pages of filled rectangles and lines of text, in millimetres from a
// page's top left. k52cli's PDF writer is one; k52gen's printer is another.
#pragma once

#include <string>

namespace k52 {

class Canvas {
  public:
    virtual ~Canvas() = default;
    // Before the first drawing too: the first call starts the first page.
    virtual void NewPage() = 0;
    // What Rect fills and Text draws with from here on the page: 0 black to 1 white.
    virtual void Gray(double level) = 0;
    virtual void Rect(double x, double y, double width, double height) = 0;
    // `y` is the baseline; `size` in points; `text` is UTF-8.
    virtual void Text(double x, double y, double size, const std::string& text) = 0;
};

}  // namespace k52
