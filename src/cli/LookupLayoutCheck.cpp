// download-lookup's --template T --lookup N [--force]: the data file held against lookup file N's layout
// before anything is sent, and the line saying which lookup file the download fills.
#include <iostream>

#include "app/LookupFit.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/LookupLayoutCheck.h"
#include "i18n/Translate.h"

namespace k52::cli {

void AddLookupLayoutOptions(CLI::App& sub, TransferOptions& o) {
    CLI::Option* tmpl =
        sub.add_option("--template", o.layoutTemplate,
                       Localize("compare DATA with a lookup file's layout in this template first"))
            ->check(kPath)
            ->type_name("T");
    CLI::Option* number =
        sub.add_option("--lookup", o.lookupNumber, Localize("the lookup file DATA fills (1 to 3)"))
            ->check(CLI::Range(1, 3))
            ->type_name("N");
    tmpl->needs(number);
    number->needs(tmpl);
    sub.add_flag("--force", o.forceLayout, Localize("send DATA even when it does not fit the layout"));
}

int CheckLookupLayoutFirst(const TransferOptions& o) {
    if (o.layoutTemplate.empty()) return kExitOk;
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.layoutTemplate, t); rc != kExitOk) return rc;
    std::string reason;
    const std::optional<LookupFit> fit =
        FitLookupFile(o.file, t, o.lookupNumber, {o.encoding, o.allowEmpty}, &reason);
    if (!fit) {
        PrintError("k52cli", Localize("cannot read %1: %2", {o.file, reason}));
        return kExitFile;
    }
    if (!fit->checked) return kExitOk;
    std::cerr << LookupFillsLine(o.file, t, o.lookupNumber, *fit) << "\n";
    if (fit->fits()) return kExitOk;
    for (const std::string& line : fit->mismatches) std::cerr << "  " << line << "\n";
    if (o.forceLayout) {
        std::cerr << Localize("sending it anyway (--force)") << "\n";
        return kExitOk;
    }
    const std::string n = std::to_string(o.lookupNumber);
    PrintError(Localize("download-lookup"),
               Localize("%1 does not fit lookup file %2's layout; nothing was sent (--force sends it anyway)",
                        {o.file, n}));
    return kExitFailed;
}

}  // namespace k52::cli
