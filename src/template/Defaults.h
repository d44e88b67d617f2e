// New-template reset, normalisation of the forms, the barcode defaults and the start-up template.
#pragma once

#include "template/Template.h"

namespace k52 {

// Gives the user a blank application. Port and barcode settings are kept: a new application starts
// with those of the one before it.
void NewTemplateReset(ApplicationTemplate& t);

// Brings the forms into a consistent state before use (lengths clamped, meaningless fields cleared).
// Idempotent; menus and other blocks are left alone.
void NormaliseTemplate(ApplicationTemplate& t);

// Derived fields, recomputed before the simulator runs the application and before a download.
// The number of options that show text within the menu's row width (15 columns when narrow, else 20).
int CountShownOptions(const MenuRecord& m);
// Clears the prompt and lookup field of lines that are "none" or continuation lines, and derives
// lastInputLine (one more than the last input line, 0 when there is none).
void DeriveFormFields(FormRecord& f);
// Both of the above for the whole template: every menu's optionCount and every form's derived fields.
void DeriveTemplateFields(ApplicationTemplate& t);

// The scanner's factory settings, applied once at start-up.
void ApplyBarcodeDefaults(ApplicationTemplate& t);

// The template the desktop program holds right after start-up: the scanner's factory settings, then a
// new-template reset. k52cli starts from it too, and a template's JSON text holds only what differs.
ApplicationTemplate StartupTemplate();

extern const u8 kDefaultBarcodeSettings[24];

}  // namespace k52
