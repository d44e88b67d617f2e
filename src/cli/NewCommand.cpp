// new: writes the template the desktop program starts with.
#include <memory>

#include "app/TemplateCommands.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "template/TemplateFile.h"

namespace k52::cli {
namespace {

struct NewOptions {
    std::string out;
    bool overwrite = false;
};

int RunNew(const NewOptions& o) {
    if (int rc = MayWrite(o.out, K52_EN("template"), {}, o.overwrite ? Existing::Replace : Existing::Refuse);
        rc != kExitOk)
        return rc;
    std::string error;
    if (!WriteTemplateFile(o.out, StartupTemplate(), &error)) {
        PrintError(kErrorTitle, std::string(Translate(kCannotSaveText)) + " (" + o.out + ": " + error + ")");
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace

void RegisterNewCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<NewOptions>();
    CLI::App* sub = app.add_subcommand("new", Localize("write the template the desktop program starts with"));
    sub->add_option("OUT", o->out, Localize("the template file to write"))->required()->check(kPath);
    sub->add_flag("--overwrite", o->overwrite, Localize("replace OUT when it exists"));
    commands.push_back({sub, {}, [o] { return RunNew(*o); }});
}

}  // namespace k52::cli
