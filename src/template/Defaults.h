// New-template reset, normalisation of the forms, and the barcode defaults.
#pragma once

#include "template/Template.h"

namespace k52 {

// Gives the user a blank application. Port and barcode settings are kept: a new application starts
// with those of the one before it.
void NewTemplateReset(ApplicationTemplate& t);

// Brings the forms into a consistent state before use (lengths clamped, meaningless fields cleared).
// Idempotent; menus and other blocks are left alone.
void NormaliseTemplate(ApplicationTemplate& t);

// The scanner's factory settings, applied once at start-up.
void ApplyBarcodeDefaults(ApplicationTemplate& t);

extern const u8 kDefaultBarcodeSettings[24];

}  // namespace k52
