// The download image builder: the template compiled into the 10500 bytes the terminal receives.
#include "protocol/DownloadImage.h"

#include <cstring>

#include "template/Defaults.h"

namespace k52 {
namespace {

// Fills a text up to `w` bytes with blanks and ends it at byte w; longer texts are cut there.
void PadToRowWidth(u8 (&field)[21], int w) {
    int len = 0;
    while (len < w && field[len] != 0) ++len;
    for (int i = len; i < w; ++i) field[i] = ' ';
    field[w] = 0;
}

}  // namespace

bool ConvertNumericText(u8* field, std::size_t width) {
    std::size_t len = 0;
    while (len < width && field[len] != 0) ++len;
    for (std::size_t i = 0; i < len; ++i)
        if (field[i] != ' ' && (field[i] < '0' || field[i] > '9')) return false;

    u8 codes[16];
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < len) {
        if (field[i] == ' ') {
            ++i;
            continue;
        }
        unsigned value = 0;
        while (i < len && field[i] != ' ') {
            value = value * 10 + (field[i] - '0');
            if (value > 255) return false;  // not a byte code: the text goes as it is
            ++i;
        }
        if (value != 0) codes[count++] = static_cast<u8>(value);
    }
    // At most width/2 numbers fit in the text, so the codes and their end byte always fit the field.
    std::memcpy(field, codes, count);
    if (count < width) field[count] = 0;
    return true;
}

void DownloadImageBuilder::BuildDownloadImage(ApplicationTemplate& t) {
    NormaliseTemplate(t);
    CompileMenus(t);
    CompileForms(t);
    AssembleImage(t);
}

void DownloadImageBuilder::CompileMenus(ApplicationTemplate& t) {
    for (int m = 0; m < kMenuCount; ++m) {
        MenuRecord& menu = menus_[m];
        menu = t.menus[m];
        const int w = menu.narrowRows ? 15 : 20;
        const int count = CountShownOptions(menu);  // counted before the texts are padded
        if (menu.showTitle) PadToRowWidth(menu.title, w);
        for (auto& option : menu.options) PadToRowWidth(option, w);
        menu.optionCount = static_cast<u8>(count);

        // The form of the same index is updated in the template itself.
        DeriveFormFields(t.forms[m]);
    }
}

void DownloadImageBuilder::CompileForms(const ApplicationTemplate& t) {
    for (int f = 0; f < kFormCount; ++f) {
        FormRecord& form = forms_[f];
        form = t.forms[f];
        for (int j = 0; j < kLinesPerForm; ++j) {
            if (form.hasPrefix[j]) ConvertNumericText(form.prefix[j], sizeof form.prefix[j]);
            if (form.hasSuffix[j]) ConvertNumericText(form.suffix[j], sizeof form.suffix[j]);
        }
    }
}

void DownloadImageBuilder::AssembleImage(const ApplicationTemplate& t) {
    u8* out = image_.data();
    out[0] = t.startPosition == 0 ? FormTarget(1) : MenuTarget(1);
    std::memcpy(out + 1, t.barcodeSettings.bytes(), sizeof(BarcodeSettings));
    std::memcpy(out + kImageMenusOffset, menus_, sizeof menus_);
    std::memcpy(out + kImageFormsOffset, forms_, sizeof forms_);
    std::memcpy(out + kImageLookupOffset, t.lookupFiles, sizeof t.lookupFiles);
    out[kImageSeparatorsOffset] = t.fieldSeparators.separator1;
    out[kImageSeparatorsOffset + 1] = t.fieldSeparators.separator2;

    // The terminal numbers its settings from 1.
    const StartupSettings& s = t.startupSettings;
    u8* st = out + kImageStartupOffset;
    st[0] = static_cast<u8>(s.uploadPort + 1);
    st[1] = static_cast<u8>(s.downloadPort + 1);
    st[2] = static_cast<u8>(s.transferSpeed + 1);
    st[3] = static_cast<u8>(s.backlight + 1);
    st[4] = 50;
    st[5] = static_cast<u8>(s.deleteMode + 1);
    st[6] = static_cast<u8>(s.recordCountPrompt + 1);
    st[7] = s.setting7;
    std::memcpy(st + 8, s.passwordGuard, sizeof s.passwordGuard);

    u8* pw = out + kImagePasswordOffset;
    for (int i = 0; i < 10; ++i) {
        u8 c = t.securityPassword[i];
        pw[i] = (c >= 'a' && c <= 'z') ? static_cast<u8>(c - 0x20) : c;
    }
}

static_assert(kImageMenusOffset + sizeof(MenuRecord) * kMenuCount == kImageFormsOffset);
static_assert(kImageFormsOffset + sizeof(FormRecord) * kFormCount == kImageLookupOffset);
static_assert(kImageLookupOffset + sizeof(LookupFileRecord) * kLookupFileCount == kImageSeparatorsOffset);
static_assert(kImagePasswordOffset + 10 == 8624);

}  // namespace k52
