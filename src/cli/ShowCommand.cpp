// new, show and image: the template file from the command line.
#include <iostream>

#include "app/TemplateCommands.h"
#include "cli/CliSupport.h"
#include "link/DownloadImage.h"
#include "template/Cp950.h"
#include "template/TemplateFile.h"
#include "textformat/TemplateJson.h"
#include "util/Translate.h"

namespace k52::cli {
namespace {

std::string Hex(const u8* p, std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

void PrintReadable(const ApplicationTemplate& t) {
    std::cout << "port: COM" << t.portSettings.comPort + 1 << ", speed index " << int(t.portSettings.baudRate)
              << "\n"
              << "start: " << (t.startPosition == 0 ? "form 1" : "menu 1") << "\n"
              << "barcode settings: " << Hex(t.barcodeSettings.bytes(), sizeof(BarcodeSettings)) << "\n"
              << "separators: " << int(t.fieldSeparators.separator1) << ", "
              << int(t.fieldSeparators.separator2) << "\n";
    for (int m = 1; m <= kMenuCount; ++m) {
        const MenuRecord& menu = t.menu(m);
        bool used = menu.title[0] != 0;
        for (const auto& o : menu.options) used = used || o[0] != 0;
        if (!used) continue;
        std::cout << "menu " << m << ": \"" << Printable(FieldUtf8(menu.title)) << "\""
                  << (menu.showTitle ? " (shown)" : "") << ", Esc -> " << TargetLabel(menu.escapeTarget)
                  << "\n";
        for (int i = 0; i < kOptionsPerMenu; ++i)
            if (menu.options[i][0] != 0)
                std::cout << "  " << i + 1 << ". \"" << Printable(FieldUtf8(menu.options[i])) << "\" -> "
                          << TargetLabel(menu.optionTargets[i]) << "\n";
    }
    for (int f = 1; f <= kFormCount; ++f) {
        const FormRecord& form = t.form(f);
        bool used = false;
        for (u8 type : form.lineType) used = used || type != 0;
        if (!used) continue;
        std::cout << "form " << f << ": next -> " << TargetLabel(form.nextTarget) << ", Esc -> "
                  << TargetLabel(form.escapeTarget) << "\n";
        for (int i = 0; i < kLinesPerForm; ++i)
            if (form.lineType[i] != 0)
                std::cout << "  line " << i + 1 << ": type " << int(form.lineType[i]) << ", prompt \""
                          << Printable(FieldUtf8(form.prompt[i])) << "\", length " << int(form.minLength[i])
                          << ".." << int(form.maxLength[i]) << "\n";
    }
    for (int l = 1; l <= kLookupFileCount; ++l) {
        const LookupFileRecord& r = t.lookupFile(l);
        if (r.defined())
            std::cout << "lookup file " << l << ": record length " << int(r.recordLength) << ", "
                      << int(r.fieldCount) << " fields, key field " << r.keyField + 1 << "\n";
    }
}

}  // namespace

int CmdNew(const NewOptions& o) {
    std::string error;
    if (!WriteTemplateFile(o.out, StartupTemplate(), &error)) {
        PrintError(kErrorTitle, std::string(Translate(kCannotSaveText)) + " (" + o.out + ": " + error + ")");
        return kExitFile;
    }
    return kExitOk;
}

int CmdShow(const ShowOptions& o) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    if (o.json)
        std::cout << FormatTemplateJson(t) << "\n";
    else
        PrintReadable(t);
    return kExitOk;
}

int CmdImage(const ImageOptions& o) {
    if (SameFile(o.file, o.out)) {
        PrintError("k52cli", o.out + " is the template itself; give the image another name");
        return kExitUsage;
    }
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    DownloadImageBuilder builder;
    builder.BuildDownloadImage(t);  // works on the copy in memory; the file is not changed
    std::string reason;
    if (!WriteWholeFile(o.out, builder.image().data(), builder.image().size(), reason)) {
        PrintError("k52cli", "cannot write " + o.out + ": " + reason);
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace k52::cli
