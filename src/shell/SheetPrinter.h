// The design sheet on a printer, or on a PDF file through it: laid out as k52cli lays out its PDF, drawn
// with Qt's painter in the printer's own fonts.
#pragma once

#include <string>

class QPrinter;

namespace k52 {

// False when the printer would not start, or reported an error.
bool PrintDesignSheet(const std::string& html, QPrinter& printer);

}  // namespace k52
