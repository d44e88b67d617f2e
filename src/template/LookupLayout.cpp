// The layout check of a lookup data file, its wording, and the ruler preview of the lookup page.
#include "template/LookupLayout.h"

#include <algorithm>

#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "util/Printable.h"

namespace k52 {
namespace {

bool KeyInsideRecord(const LookupFileRecord& layout) {
    if (layout.keyField >= layout.fieldCount || layout.keyField >= kLookupFieldsPerFile) return false;
    const int start = layout.fieldStart[layout.keyField];
    const int length = layout.fieldLength[layout.keyField];
    return start >= 1 && length >= 1 && start + length - 1 <= layout.recordLength;
}

std::string Shown(std::string_view cp950) {
    return Printable(Cp950ToUtf8(cp950));
}

}  // namespace

std::string_view CutField(const LookupFileRecord& layout, int field, std::string_view record) {
    if (field < 0 || field >= kLookupFieldsPerFile) return {};
    const std::size_t start = layout.fieldStart[field] == 0 ? 0 : layout.fieldStart[field] - 1u;
    if (start >= record.size()) return {};
    return record.substr(start, layout.fieldLength[field]);
}

LayoutCheck CheckLookupLayout(const LookupFileRecord& layout, const std::vector<std::string>& records,
                              std::size_t shown) {
    LayoutCheck check;
    if (!layout.defined()) {
        check.first.push_back({LayoutProblem::NotDefined});
        return check;
    }
    if (!KeyInsideRecord(layout)) {
        check.first.push_back({LayoutProblem::KeyOutside});
        return check;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string& record = records[i];
        const long line = static_cast<long>(i + 1);
        LayoutProblem problem;
        if (record.size() != layout.recordLength) {
            problem = LayoutProblem::WrongLength;
        } else if (CutField(layout, layout.keyField, record).find_first_not_of(' ') ==
                   std::string_view::npos) {
            problem = LayoutProblem::EmptyKey;
        } else {
            continue;
        }
        ++check.mismatches;
        if (check.first.size() < shown) check.first.push_back({problem, line, record.size()});
    }
    return check;
}

std::vector<std::string> DescribeMismatches(const LayoutCheck& check, int lookupNumber,
                                            const LookupFileRecord& layout,
                                            const std::vector<std::string>& records) {
    std::vector<std::string> lines;
    const std::string n = std::to_string(lookupNumber);
    const std::string width = std::to_string(layout.recordLength);
    for (const LayoutMismatch& m : check.first) {
        const std::string line = std::to_string(m.line);
        const std::string text = m.line >= 1 && static_cast<std::size_t>(m.line) <= records.size()
                                     ? Shown(records[static_cast<std::size_t>(m.line - 1)])
                                     : "";
        switch (m.problem) {
            case LayoutProblem::NotDefined:
                lines.push_back(
                    Localize("lookup file %1 has no layout: its record length or field count is 0", {n}));
                break;
            case LayoutProblem::KeyOutside:
                lines.push_back(
                    Localize("lookup file %1's key field is not one of its fields within its %2-byte records",
                             {n, width}));
                break;
            case LayoutProblem::WrongLength:
                lines.push_back(Localize("line %1: %2 bytes, not %3: \"%4\"",
                                         {line, std::to_string(m.length), width, text}));
                break;
            case LayoutProblem::EmptyKey:
                lines.push_back(Localize("line %1: its key field is blank: \"%2\"", {line, text}));
                break;
        }
    }
    if (check.mismatches > static_cast<long>(check.first.size()))
        lines.push_back(Localize("%1 records do not fit in all", {std::to_string(check.mismatches)}));
    return lines;
}

std::string RulerPreview(const LookupFileRecord& layout, const std::vector<std::string>& records,
                         std::size_t lines) {
    std::size_t width = layout.recordLength;
    for (std::size_t i = 0; i < std::min(lines, records.size()); ++i)
        width = std::max(width, records[i].size());
    std::string tens, units;
    for (std::size_t column = 1; column <= width; ++column) {
        tens += column % 10 == 0 ? static_cast<char>('0' + column / 10 % 10) : ' ';
        units += static_cast<char>('0' + column % 10);
    }
    std::string out = tens + "\n" + units + "\n";
    // Each field's columns marked under the ruler: its number over its bytes, the key field as '*'.
    std::string marks(width, ' ');
    for (int f = layout.fieldCount - 1; f >= 0; --f) {
        const std::size_t start = layout.fieldStart[f] == 0 ? 0 : layout.fieldStart[f] - 1u;
        for (std::size_t c = start; c < start + layout.fieldLength[f] && c < width; ++c)
            marks[c] = f == layout.keyField ? '*' : static_cast<char>('1' + f);
    }
    out += marks + "\n";
    for (std::size_t i = 0; i < std::min(lines, records.size()); ++i) {
        const std::string& record = records[i];
        // Double-byte characters keep their two columns in a fixed-width font; bytes CP950 cannot show are
        // dots.
        out += Shown(record) + "\n   ";
        for (int f = 0; f < layout.fieldCount; ++f)
            out += " " + std::to_string(f + 1) + ":[" + Shown(CutField(layout, f, record)) + "]";
        out += "\n";
    }
    return out;
}

}  // namespace k52
