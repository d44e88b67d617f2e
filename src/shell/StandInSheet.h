// Stands in for the template editor's property sheet in builds without it: "Application Template" with
// OK and Cancel. It changes nothing in the template, but its OK follows the sheet's rules (modified
// flag, normalisation, simulator restart), so the rest of the program behaves as with the real sheet.
#pragma once

#include <QDialog>

#include "editor/EditorHost.h"
#include "template/TemplateFile.h"

namespace k52 {

// Modal; returns 1 for OK and 0 for Cancel, as the sheet does.
int OpenStandInSheet(QWidget* owner, TemplateDocument& doc, EditorHost& host);

}  // namespace k52
