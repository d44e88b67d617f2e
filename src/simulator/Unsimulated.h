// What a template asks of the terminal that the simulated terminal does not do, so that the window and
// k52cli can say so instead of skipping it in silence.
#pragma once

#include <string>
#include <vector>

#include "template/Template.h"

namespace k52 {

enum class Unsimulated {
    Lookup,
    DateStamp,
    TimeStamp,
    Prefix,
    Suffix,
    FixedLength,
    PartialBarcode,
    PrefixCheck,
    AutoAdvance,
    ScannerOnly,
    Password,
};

// One use: a form's line (form 1..10, line 1..8), a whole form (line 0), or, for the password, the
// function it guards (guard 0..11, form and line 0).
struct UnsimulatedUse {
    Unsimulated feature;
    int form = 0;
    int line = 0;
    int guard = -1;
    bool operator==(const UnsimulatedUse&) const = default;
};

// In feature order, then form and line order. Only forms that have lines count.
std::vector<UnsimulatedUse> FindUnsimulated(const ApplicationTemplate& t);

// Stable names for JSON: "lookup", "dateStamp", ...; for a guard: "systemSettings", ...
const char* UnsimulatedName(Unsimulated feature);
const char* PasswordGuardName(int guard);

// One line a feature, naming where it is used, in the user's language (UTF-8); empty for none.
std::string DescribeUnsimulated(const std::vector<UnsimulatedUse>& uses);

}  // namespace k52
