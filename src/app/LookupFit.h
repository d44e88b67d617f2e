// A lookup data file held against lookup file N of a template before it goes, for every front end: the
// records read as the download reads them, the check, and its words.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "template/LookupLayout.h"
#include "transfer/LookupData.h"

namespace k52 {

struct LookupFit {
    bool checked = false;  // false when the download itself will refuse the file (not text, too long, ...)
    long records = 0;
    LayoutCheck check;
    std::vector<std::string> mismatches;  // the first lines that do not fit, worded
    bool fits() const { return !checked || check.fits(); }
};

// `bytes` (a whole lookup data file) against lookup file `number` (1 to 3) of `tmpl`.
LookupFit FitLookupData(std::string_view bytes, const ApplicationTemplate& tmpl, int number,
                        const LookupOptions& options);

// The same for the file at `path`; empty, with `reason`, when it cannot be read.
std::optional<LookupFit> FitLookupFile(const std::string& path, const ApplicationTemplate& tmpl, int number,
                                       const LookupOptions& options, std::string* reason = nullptr);

// "DATA fills lookup file N (33-byte records, 2 fields): 120 records", in the chosen language.
std::string LookupFillsLine(const std::string& path, const ApplicationTemplate& tmpl, int number,
                            const LookupFit& fit);

// The lookup files (1 to 3) of `tmpl` that have a layout to hold a file against.
std::vector<int> DefinedLookupFiles(const ApplicationTemplate& tmpl);

}  // namespace k52
