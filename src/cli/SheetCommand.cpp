// sheet: the design sheet of a template, as one self-contained HTML file.
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "paper/DesignSheet.h"
#include "paper/SheetPdf.h"

namespace k52::cli {
namespace {

struct SheetOptions {
    std::string file;
    std::string out;
};

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& s, std::string_view end) {
    if (s.size() < end.size()) return false;
    std::string tail = s.substr(s.size() - end.size());
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == end;
}

int RunSheet(const SheetOptions& o) {
    const bool pdf = EndsWith(o.out, ".pdf");
    if (!pdf && !EndsWith(o.out, ".html") && !EndsWith(o.out, ".htm")) {
        PrintError("sheet", Localize("OUT must end in .html or .pdf"));
        return kExitUsage;
    }
    if (int rc = MayWrite(o.out, K52_EN("sheet"), {{o.file, K52_EN("the template")}}, Existing::Replace);
        rc != kExitOk)
        return rc;
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    const std::string html = DesignSheetHtml(t, BaseName(o.file));
    // k52cli links no toolkit that lays out HTML: the PDF is this same HTML set by the sheet's own layout.
    const std::string out = pdf ? SheetPdf(html, BaseName(o.file)) : html;
    return SaveOutputFile(o.out, out.data(), out.size());
}

}  // namespace

void RegisterSheetCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<SheetOptions>();
    CLI::App* sub =
        app.add_subcommand("sheet", Localize("write a template's design sheet, for print or sign-off"));
    sub->add_option("FILE", o->file, Localize("the template file"))->required()->check(kPath);
    sub->add_option("OUT", o->out, Localize("the sheet to write (.html or .pdf)"))->required();
    commands.push_back({sub, {}, [o] { return RunSheet(*o); }});
}

}  // namespace k52::cli
