// import and diff: templates as text, back into template files and compared field by field.
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/TemplateCommands.h"
#include "cli/CliSupport.h"
#include "i18n/Translate.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "textformat/TemplateDiff.h"
#include "textformat/TemplateImport.h"

namespace k52::cli {
namespace {

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) return false;
    text = s.str();
    return true;
}

// Prints the import's findings as "FILE: PATH: VALUE RULE" lines and returns the exit code.
int ReportImport(const std::string& path, const TemplateImport& result, bool showWarnings) {
    for (const std::string& e : result.errors) std::cerr << path << ": " << e << "\n";
    if (showWarnings)
        for (const std::string& w : result.warnings) std::cerr << path << ": warning: " << w << "\n";
    if (result.ok()) return kExitOk;
    std::cerr << "k52cli: " << path << " refused (" << result.errors.size()
              << (result.errors.size() == 1 ? " error" : " errors") << "), nothing written\n";
    return kExitBadTemplate;
}

// Either side of a diff: a template file (known by its magic) or its text form.
int LoadEitherSide(const std::string& path, ApplicationTemplate& t) {
    std::string text;
    if (!ReadText(path, text)) {
        PrintError("k52cli", "cannot read " + path);
        return kExitFile;
    }
    if (text.compare(0, sizeof kTemplateMagic, kTemplateMagic, sizeof kTemplateMagic) == 0)
        return LoadTemplate(path, t);
    TemplateImport result = ImportTemplateJson(text);
    if (int rc = ReportImport(path, result, false); rc != kExitOk) return rc;
    t = result.tmpl;
    return kExitOk;
}

}  // namespace

int RunImport(const std::string& in, const std::string& out, bool normalise) {
    std::string text;
    if (!ReadText(in, text)) {
        PrintError("k52cli", "cannot read " + in);
        return kExitFile;
    }
    TemplateImport result = ImportTemplateJson(text);
    if (int rc = ReportImport(in, result, true); rc != kExitOk) return rc;
    if (normalise) NormaliseTemplate(result.tmpl);
    std::string error;
    if (!WriteTemplateFile(out, result.tmpl, &error)) {
        PrintError(kErrorTitle, std::string(Translate(kCannotSaveText)) + " (" + out + ": " + error + ")");
        return kExitFile;
    }
    return kExitOk;
}

int RunDiff(const std::string& a, const std::string& b, bool json) {
    ApplicationTemplate left{}, right{};
    if (int rc = LoadEitherSide(a, left); rc != kExitOk) return rc;
    if (int rc = LoadEitherSide(b, right); rc != kExitOk) return rc;
    std::vector<FieldDifference> differences = DiffTemplates(left, right);
    if (json)
        std::cout << DifferencesToJson(differences).dump(2) << "\n";
    else
        for (const FieldDifference& d : differences) std::cout << d.Line() << "\n";
    return differences.empty() ? kExitOk : kExitFailed;
}

}  // namespace k52::cli
