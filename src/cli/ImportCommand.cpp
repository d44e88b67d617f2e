// import: a template file built from its JSON text, never over the text itself.
#include <memory>

#include "app/TemplateCommands.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52::cli {
namespace {

struct ImportOptions {
    std::string in;
    std::string out;
    bool normalise = false;
    bool overwrite = false;
};

int RunImport(const ImportOptions& o) {
    if (int rc = MayWrite(o.out, K52_EN("template"), {{o.in, K52_EN("the JSON text")}},
                          o.overwrite ? Existing::Replace : Existing::Refuse);
        rc != kExitOk)
        return rc;
    const std::optional<std::string> text = ReadInputFile(o.in, kTemplateTextLimit);
    if (!text) return kExitFile;
    TemplateImport result = ImportTemplateJson(*text);
    if (int rc = ReportImport(o.in, result, true); rc != kExitOk) return rc;
    if (o.normalise) NormaliseTemplate(result.tmpl);
    std::string error;
    if (!WriteTemplateFile(o.out, result.tmpl, &error)) {
        PrintError(kErrorTitle, std::string(Translate(kCannotSaveText)) + " (" + o.out + ": " + error + ")");
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace

void RegisterImportCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<ImportOptions>();
    CLI::App* sub = app.add_subcommand("import", Localize("build a template file from its JSON text"));
    sub->add_option("IN", o->in, Localize("the template as JSON (as show --json prints it)"))
        ->required()
        ->check(kPath);
    sub->add_option("OUT", o->out, Localize("the template file to write"))->required()->check(kPath);
    sub->add_flag("--normalise", o->normalise,
                  Localize("normalise the forms as the editor would before saving"));
    sub->add_flag("--overwrite", o->overwrite, Localize("replace OUT when it exists"));
    commands.push_back({sub, {}, [o] { return RunImport(*o); }});
}

}  // namespace k52::cli
