// labels: a sheet of test labels for a template's barcode settings, as PDF or SVG.
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "paper/TestLabels.h"

namespace k52::cli {
namespace {

struct LabelsOptions {
    std::string file;
    std::string out;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

int RunLabels(const LabelsOptions& o) {
    const std::string out = Lower(o.out);
    const bool pdf = out.size() > 4 && out.compare(out.size() - 4, 4, ".pdf") == 0;
    const bool svg = out.size() > 4 && out.compare(out.size() - 4, 4, ".svg") == 0;
    if (!pdf && !svg) {
        PrintError("labels", Localize("OUT must end in .pdf or .svg"));
        return kExitUsage;
    }
    if (int rc = MayWrite(o.out, K52_EN("labels"), {{o.file, K52_EN("the template")}}, Existing::Replace);
        rc != kExitOk)
        return rc;
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    const std::vector<TestLabel> labels = TestLabelsOf(t.barcodeSettings);
    const std::string title = Localize("Test labels: %1", {o.file});
    const std::string sheet = pdf ? LabelSheetPdf(labels, title) : LabelSheetSvg(labels, title);
    return SaveOutputFile(o.out, sheet.data(), sheet.size());
}

}  // namespace

void RegisterLabelsCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<LabelsOptions>();
    CLI::App* sub = app.add_subcommand(
        "labels",
        Localize("write test labels for a template's barcode settings: ones to read, ones to refuse"));
    sub->add_option("FILE", o->file, Localize("the template file"))->required()->check(kPath);
    sub->add_option("OUT", o->out, Localize("the label sheet to write (.pdf or .svg)"))->required();
    commands.push_back({sub, {}, [o] { return RunLabels(*o); }});
}

}  // namespace k52::cli
