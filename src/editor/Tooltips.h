// What each control of the editor's pages and dialogs does on the terminal, said in one table.
#pragma once

#include <string_view>

namespace k52 {

// Owners: "FormPage", "MenuPage", "LookupPage", "BarcodePage", "StartupPage", "FieldAttributes", and the
// symbology dialogs by their names in the barcode bit table ("Code39Dlg", ...).
inline constexpr std::string_view kFormPageOwner = "FormPage";
inline constexpr std::string_view kMenuPageOwner = "MenuPage";
inline constexpr std::string_view kLookupPageOwner = "LookupPage";
inline constexpr std::string_view kBarcodePageOwner = "BarcodePage";
inline constexpr std::string_view kStartupPageOwner = "StartupPage";
inline constexpr std::string_view kFieldAttributesOwner = "FieldAttributes";

// The control's tip in the chosen language, or empty when it has none.
std::string_view ControlTooltip(std::string_view owner, int id);

}  // namespace k52
