// The editor sheet: its five pages built on first sight and committed in page order at OK.
#include "editor/EditorSheet.h"
#include "i18n/Translate.h"

namespace k52 {

std::string_view EditorSheet::TabCaption(int page) {
    static constexpr std::string_view kCaptions[kPageCount] = {
        K52_TR("Editor", "表單"), K52_TR("Editor", "選單"), K52_TR("Editor", "索引檔"),
        K52_TR("Editor", "條碼設定"), K52_TR("Editor", "起動")};
    return (page >= 0 && page < kPageCount) ? kCaptions[page] : std::string_view{};
}

EditorSheet::EditorSheet(TemplateDocument& doc, EditorHost& host)
    : forms_(doc, host),
      menus_(doc.tmpl),
      lookups_(doc.tmpl),
      barcode_(doc.tmpl.barcodeSettings),
      startup_(doc.tmpl) {}

SheetPage& EditorSheet::page(int index) {
    switch (index) {
        case kMenuPage:
            return menus_;
        case kLookupPage:
            return lookups_;
        case kBarcodePage:
            return barcode_;
        case kStartupPage:
            return startup_;
        default:
            return forms_;
    }
}

ControlUpdates EditorSheet::Show(int index) {
    if (index < 0 || index >= kPageCount || shown(index)) return {};
    shown_[static_cast<std::size_t>(index)] = true;
    return page(index).Initialise();
}

void EditorSheet::Confirm() {
    Show(kFormPage);
    for (int i = 0; i < kPageCount; ++i)
        if (shown(i)) page(i).Commit();
    shown_.fill(false);
}

void EditorSheet::Cancel() {
    for (int i = 0; i < kPageCount; ++i)
        if (shown(i)) page(i).Discard();
    shown_.fill(false);
}

}  // namespace k52
