// diff: the fields two templates differ in, each side a template file or its JSON text.
#include <iostream>
#include <memory>

#include "app/TemplateCommands.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "template/TemplateFile.h"
#include "textformat/TemplateDiff.h"

namespace k52::cli {
namespace {

struct DiffOptions {
    std::string a, b;
    bool json = false;
};

// Either side of a diff: a template file (known by its magic) or its text form.
int LoadEitherSide(const std::string& path, ApplicationTemplate& t) {
    const std::optional<std::string> bytes = ReadInputFile(path, kTemplateTextLimit);
    if (!bytes) return kExitFile;
    if (bytes->compare(0, sizeof kTemplateMagic, kTemplateMagic, sizeof kTemplateMagic) == 0) {
        if (ParseTemplate(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(), t) ==
            TemplateReadResult::Ok)
            return kExitOk;
        PrintError(kErrorTitle, kFormatErrorText);
        return kExitBadTemplate;
    }
    TemplateImport result = ImportTemplateJson(*bytes);
    if (int rc = ReportImport(path, result, false); rc != kExitOk) return rc;
    t = result.tmpl;
    return kExitOk;
}

int RunDiff(const DiffOptions& o) {
    ApplicationTemplate left{}, right{};
    if (int rc = LoadEitherSide(o.a, left); rc != kExitOk) return rc;
    if (int rc = LoadEitherSide(o.b, right); rc != kExitOk) return rc;
    std::vector<FieldDifference> differences = DiffTemplates(left, right);
    if (o.json)
        std::cout << DifferencesToJson(differences).dump(2) << "\n";
    else
        for (const FieldDifference& d : differences) std::cout << d.Line() << "\n";
    return differences.empty() ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterDiffCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<DiffOptions>();
    CLI::App* sub = app.add_subcommand(
        "diff", Localize("list the fields two templates differ in (exit 1 when they differ)"));
    sub->add_option("A", o->a, Localize("a template file or its JSON text"))->required()->check(kPath);
    sub->add_option("B", o->b, Localize("a template file or its JSON text"))->required()->check(kPath);
    sub->add_flag("--json", o->json, Localize("the differences as a JSON array"));
    commands.push_back({sub, {}, [o] { return RunDiff(*o); }});
}

}  // namespace k52::cli
