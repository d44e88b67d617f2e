// The design sheet on paper: its own HTML set on A4 pages, the same way by k52cli's PDF writer and by
// k52gen's printer. It knows only what the sheet is made of: headings, paragraphs and its four kinds
// of table (the screen, a grid, a screen beside its grid, the signature line).
#pragma once

#include <string>

#include "paper/Canvas.h"

namespace k52 {

class GlyphSource;

// The sheet on `canvas`, from its first page, the screens' characters in the display's face (text
// where `glyphs` is null or lacks one).
void LayOutSheet(const std::string& html, Canvas& canvas, const GlyphSource* glyphs);
// The same with the display's face as this system has it.
void LayOutSheet(const std::string& html, Canvas& canvas);
// The sheet as a PDF file.
std::string SheetPdf(const std::string& html, const std::string& title);

}  // namespace k52
