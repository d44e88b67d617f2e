// download-lookup's --template T --lookup N [--force]: the data file held against lookup file N's layout
// before anything is sent, and the line saying which lookup file the download fills.
#include <iostream>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/LookupLayoutCheck.h"
#include "i18n/Translate.h"
#include "template/LookupLayout.h"

namespace k52::cli {

namespace {
// A lookup file the terminal can hold is far smaller; the bound only keeps a wrong file from filling memory.
constexpr std::size_t kLookupDataLimit = 64 * 1024 * 1024;
}  // namespace

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
    const std::optional<std::string> bytes = ReadInputFile(o.file, kLookupDataLimit);
    if (!bytes) return kExitFile;
    // A file the download itself refuses (not text, a record too long) is left to say so there.
    LookupData data = ReadLookupData(*bytes, {o.encoding, o.allowEmpty});
    if (data.refusal) return kExitOk;
    std::vector<std::string> records;
    for (LookupRecord& r : data.records) records.push_back(std::move(r.data));

    const LookupFileRecord& layout = t.lookupFile(o.lookupNumber);
    const std::string n = std::to_string(o.lookupNumber);
    std::cerr << Localize("%1 fills lookup file %2 (%3-byte records, %4 fields): %5 records",
                          {o.file, n, std::to_string(layout.recordLength), std::to_string(layout.fieldCount),
                           std::to_string(records.size())})
              << "\n";
    const LayoutCheck check = CheckLookupLayout(layout, records);
    if (check.fits()) return kExitOk;
    for (const std::string& line : DescribeMismatches(check, o.lookupNumber, layout, records))
        std::cerr << "  " << line << "\n";
    if (o.forceLayout) {
        std::cerr << Localize("sending it anyway (--force)") << "\n";
        return kExitOk;
    }
    PrintError(Localize("download-lookup"),
               Localize("%1 does not fit lookup file %2's layout; nothing was sent (--force sends it anyway)",
                        {o.file, n}));
    return kExitFailed;
}

}  // namespace k52::cli
