// The design sheet: the whole template on paper, as one self-contained HTML file (no scripts, no files
// beside it) that k52cli writes and k52gen prints. Texts in the chosen language.
#pragma once

#include <string>

#include "template/Template.h"

namespace k52 {

// One screen of the terminal as an 8x20 grid of cells; a double-byte character spans two. `rows` are
// CP950; `highlight` is the 1-based inverted row, 0 for none.
std::string ScreenHtml(const std::string (&rows)[8], int highlight);

// Menu `n` (1 to 10): its screen as the terminal first shows it, beside its options and targets.
std::string MenuSectionHtml(const ApplicationTemplate& t, int n);
// Form `n` (1 to 10): its screen, beside its lines' attributes.
std::string FormSectionHtml(const ApplicationTemplate& t, int n);

// The whole sheet; `name` (UTF-8, usually the template's file name) heads it.
std::string DesignSheetHtml(const ApplicationTemplate& t, const std::string& name);

}  // namespace k52
