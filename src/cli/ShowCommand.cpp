// show: what a template holds, readable (in the user's language) or as JSON.
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "template/PasswordGuards.h"
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

// A target as the editor names it, in the run's language.
std::string Target(u8 code) {
    return TranslateNumbered("Editor", TargetLabel(code));
}

std::string LineType(u8 type) {
    const std::string_view label = LineTypeLabel(type);
    return label.empty() ? N(type) : std::string(Translate("Editor", label));
}

// The start-up page's lists, by the byte each fills; their entries are the same in every language.
std::string Entry(std::initializer_list<const char*> entries, u8 value) {
    return value < entries.size() ? entries.begin()[value] : N(value);
}

void PrintStartup(const ApplicationTemplate& t) {
    const StartupSettings& s = t.startupSettings;
    std::cout << Localize("start-up: upload port %1, download port %2, speed index %3",
                          {Entry({"RS-232 / Cradle", "IR Transceiver", "Standard IrDA", "Keyboard Wedge"},
                                 s.uploadPort),
                           Entry({"RS-232 / Cradle", "IR Transceiver", "Standard IrDA"}, s.downloadPort),
                           N(s.transferSpeed)})
              << "\n"
              << Localize("start-up: backlight %1, deletion %2, record count prompt %3",
                          {Entry({"Turn off", "Turn on"}, s.backlight),
                           Entry({"Manually", "Automatically"}, s.deleteMode),
                           Entry({"Yes", "No"}, s.recordCountPrompt)})
              << "\n"
              << Localize(t.securityPassword[0] ? "password: set" : "password: not set") << "\n";
    std::string guarded;
    for (std::size_t i = 0; i < std::size(kPasswordGuardNames); ++i)
        if (s.passwordGuard[i])
            guarded += (guarded.empty() ? "" : ", ") +
                       std::string(Translate(kPasswordGuardContext, kPasswordGuardNames[i]));
    if (!guarded.empty()) std::cout << Localize("password asked for: %1", {guarded}) << "\n";
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
                  << Localize(", Esc -> %1", {Target(menu.escapeTarget)}) << "\n";
        for (int i = 0; i < kOptionsPerMenu; ++i)
            if (menu.options[i][0] != 0)
                std::cout << "  " << i + 1 << ". \"" << Printable(FieldUtf8(menu.options[i])) << "\" -> "
                          << Target(menu.optionTargets[i]) << "\n";
    }
    for (int f = 1; f <= kFormCount; ++f) {
        const FormRecord& form = t.form(f);
        bool used = false;
        for (u8 type : form.lineType) used = used || type != 0;
        if (!used) continue;
        std::cout << Localize("form %1: next -> %2, Esc -> %3",
                              {N(f), Target(form.nextTarget), Target(form.escapeTarget)})
                  << "\n";
        for (int i = 0; i < kLinesPerForm; ++i)
            if (form.lineType[i] != 0)
                std::cout << Localize(
                                 "  line %1: %2, prompt \"%3\", length %4..%5",
                                 {N(i + 1), LineType(form.lineType[i]), Printable(FieldUtf8(form.prompt[i])),
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
    PrintStartup(t);
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
