// The layout check before a lookup download, shared by k52cli and the desk.
#include "app/LookupFit.h"

#include "i18n/Translate.h"
#include "util/RegularFile.h"

namespace k52 {

namespace {
// A lookup file the terminal can hold is far smaller; the bound only keeps a wrong file from filling memory.
constexpr std::size_t kLookupDataLimit = 64 * 1024 * 1024;
}  // namespace

LookupFit FitLookupData(std::string_view bytes, const ApplicationTemplate& tmpl, int number,
                        const LookupOptions& options) {
    LookupFit fit;
    // A file the download itself refuses is left to say so there.
    LookupData data = ReadLookupData(bytes, options);
    if (data.refusal) return fit;
    std::vector<std::string> records;
    records.reserve(data.records.size());
    for (LookupRecord& r : data.records) records.push_back(std::move(r.data));
    const LookupFileRecord& layout = tmpl.lookupFile(number);
    fit.checked = true;
    fit.records = static_cast<long>(records.size());
    fit.check = CheckLookupLayout(layout, records);
    if (!fit.check.fits()) fit.mismatches = DescribeMismatches(fit.check, number, layout, records);
    return fit;
}

std::optional<LookupFit> FitLookupFile(const std::string& path, const ApplicationTemplate& tmpl, int number,
                                       const LookupOptions& options, std::string* reason) {
    const std::optional<std::string> bytes = ReadWholeFile(path, kLookupDataLimit, reason);
    if (!bytes) return std::nullopt;
    return FitLookupData(*bytes, tmpl, number, options);
}

std::string LookupFillsLine(const std::string& path, const ApplicationTemplate& tmpl, int number,
                            const LookupFit& fit) {
    const LookupFileRecord& layout = tmpl.lookupFile(number);
    return Localize("%1 fills lookup file %2 (%3-byte records, %4 fields): %5 records",
                    {path, std::to_string(number), std::to_string(layout.recordLength),
                     std::to_string(layout.fieldCount), std::to_string(fit.records)});
}

std::vector<int> DefinedLookupFiles(const ApplicationTemplate& tmpl) {
    std::vector<int> defined;
    for (int n = 1; n <= kLookupFileCount; ++n)
        if (tmpl.lookupFile(n).defined()) defined.push_back(n);
    return defined;
}

}  // namespace k52
