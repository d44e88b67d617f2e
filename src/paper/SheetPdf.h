// The design sheet as PDF where no toolkit lays out HTML (k52cli): the sheet's own HTML set on A4
// pages by PdfWriter. It knows only what the sheet is made of: headings, paragraphs and its four kinds
// of table (the screen, a grid, a screen beside its grid, the signature line).
#pragma once

#include <string>

namespace k52 {

std::string SheetPdf(const std::string& html, const std::string& title);

}  // namespace k52
