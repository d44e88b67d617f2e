// show: what a template holds, readable (in the user's language) or as JSON.
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "textformat/TemplateJson.h"
#include "util/Hex.h"

namespace k52::cli {
namespace {

struct ShowOptions {
    std::string file;
    bool json = false;
};

std::string Hex(const u8* p, std::size_t n) {
    return HexDigits(std::string_view(reinterpret_cast<const char*>(p), n), HexCase::Upper);
}

std::string N(int n) {
    return std::to_string(n);
}

void PrintReadable(const ApplicationTemplate& t) {
    std::cout << Localize("port: COM%1, speed index %2",
                          {N(t.portSettings.comPort + 1), N(t.portSettings.baudRate)})
              << "\n"
              << Localize(t.startPosition == 0 ? "start: form 1" : "start: menu 1") << "\n"
              << Localize("barcode settings: %1", {Hex(t.barcodeSettings.bytes(), sizeof(BarcodeSettings))})
              << "\n"
              << Localize("separators: %1, %2",
                          {N(t.fieldSeparators.separator1), N(t.fieldSeparators.separator2)})
              << "\n";
    for (int m = 1; m <= kMenuCount; ++m) {
        const MenuRecord& menu = t.menu(m);
        bool used = menu.title[0] != 0;
        for (const auto& o : menu.options) used = used || o[0] != 0;
        if (!used) continue;
        std::cout << Localize("menu %1: \"%2\"", {N(m), Printable(FieldUtf8(menu.title))})
                  << (menu.showTitle ? Localize(" (shown)") : "")
                  << Localize(", Esc -> %1", {TargetLabel(menu.escapeTarget)}) << "\n";
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
        std::cout << Localize("form %1: next -> %2, Esc -> %3",
                              {N(f), TargetLabel(form.nextTarget), TargetLabel(form.escapeTarget)})
                  << "\n";
        for (int i = 0; i < kLinesPerForm; ++i)
            if (form.lineType[i] != 0)
                std::cout << Localize("  line %1: type %2, prompt \"%3\", length %4..%5",
                                      {N(i + 1), N(form.lineType[i]), Printable(FieldUtf8(form.prompt[i])),
                                       N(form.minLength[i]), N(form.maxLength[i])})
                          << "\n";
    }
    for (int l = 1; l <= kLookupFileCount; ++l) {
        const LookupFileRecord& r = t.lookupFile(l);
        if (r.defined())
            std::cout << Localize("lookup file %1: record length %2, %3 fields, key field %4",
                                  {N(l), N(r.recordLength), N(r.fieldCount), N(r.keyField + 1)})
                      << "\n";
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
    CLI::App* sub = app.add_subcommand("show", Localize("print what a template holds"));
    sub->add_option("FILE", o->file, Localize("the template file"))->required()->check(kPath);
    sub->add_flag("--json", o->json, Localize("every field as JSON"));
    commands.push_back({sub, {}, [o] { return RunShow(*o); }});
}

}  // namespace k52::cli
