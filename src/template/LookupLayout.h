// A lookup data file held against the layout a template gives its lookup file: the terminal cuts every
// record by byte positions, so a record of another length (a CSV line, say) puts wrong bytes in every field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "template/Template.h"

namespace k52 {

// Field `field` (0-based) of `record` as the terminal cuts it: `fieldLength` bytes from the 1-based
// `fieldStart`, as far as the record reaches.
std::string_view CutField(const LookupFileRecord& layout, int field, std::string_view record);

enum class LayoutProblem {
    NotDefined,   // the lookup file has no record length or no fields
    KeyOutside,   // the key field is not among the fields, or reaches beyond the record
    WrongLength,  // a record of another length than `recordLength`
    EmptyKey,     // a record whose key field holds only blanks
};

struct LayoutMismatch {
    LayoutProblem problem;
    long line = 0;           // the record, counted from 1; 0 for a problem of the layout itself
    std::size_t length = 0;  // the record's length in bytes
};

struct LayoutCheck {
    long mismatches = 0;                // records that do not fit, all of them counted
    std::vector<LayoutMismatch> first;  // the first of them (or the layout's own problem)
    bool fits() const { return first.empty(); }
};

// Every record (CP950 bytes, without line ends) against `layout`: its length equal to `recordLength`, its
// key field not blank. At most `shown` mismatches are kept.
LayoutCheck CheckLookupLayout(const LookupFileRecord& layout, const std::vector<std::string>& records,
                              std::size_t shown = 5);

// One line per mismatch, in the chosen language, with the record's text (UTF-8) where there is one.
std::vector<std::string> DescribeMismatches(const LayoutCheck& check, int lookupNumber,
                                            const LookupFileRecord& layout,
                                            const std::vector<std::string>& records);

// A ruler over the byte columns and the first `lines` records under it, each followed by its fields as the
// terminal cuts them ("1:[...] 2:[...]"), in UTF-8 for a fixed-width font.
std::string RulerPreview(const LookupFileRecord& layout, const std::vector<std::string>& records,
                         std::size_t lines = 5);

}  // namespace k52
