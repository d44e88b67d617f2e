// import and diff: templates as text, back into template files and compared field by field.
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/CliSupport.h"
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

// Splits "--flag" options from the positional arguments; false on an unknown option.
bool SplitArgs(const Args& args, std::string_view flag, bool& flagSet, std::vector<std::string>& positional) {
    for (const std::string& a : args) {
        if (a == flag)
            flagSet = true;
        else if (!a.empty() && a[0] == '-')
            return false;
        else
            positional.push_back(a);
    }
    return true;
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
        PrintError(kErrorTitle, std::string(kCannotSaveText) + " (" + out + ": " + error + ")");
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

int CmdImport(const Args& args) {
    bool normalise = false;
    std::vector<std::string> files;
    if (!SplitArgs(args, "--normalise", normalise, files) || files.size() != 2) {
        std::cerr << "usage: k52cli import IN.json OUT.ATC [--normalise]\n";
        return kExitUsage;
    }
    return RunImport(files[0], files[1], normalise);
}

int CmdDiff(const Args& args) {
    bool json = false;
    std::vector<std::string> files;
    if (!SplitArgs(args, "--json", json, files) || files.size() != 2) {
        std::cerr << "usage: k52cli diff A B [--json]\n";
        return kExitUsage;
    }
    return RunDiff(files[0], files[1], json);
}

}  // namespace k52::cli
