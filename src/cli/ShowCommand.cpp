// show: what a template holds, readable or as JSON.
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "template/Cp950.h"
#include "textformat/TemplateJson.h"

namespace k52::cli {
namespace {

struct ShowOptions {
    std::string file;
    bool json = false;
};

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

int RunShow(const ShowOptions& o) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    if (o.json)
        std::cout << FormatTemplateJson(t) << "\n";
    else
        PrintReadable(t);
    return kExitOk;
}

}  // namespace

void RegisterShowCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<ShowOptions>();
    CLI::App* sub = app.add_subcommand("show", "print what a template holds");
    sub->add_option("FILE", o->file, "the template file")->required()->check(kPath);
    sub->add_flag("--json", o->json, "every field as JSON");
    commands.push_back({sub, "show FILE [--json]", {}, [o] { return RunShow(*o); }});
}

}  // namespace k52::cli
