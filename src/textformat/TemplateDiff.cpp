// The fields two templates differ in, in template order, each with its JSON path and both values.
#include "textformat/TemplateDiff.h"

#include <cstring>

namespace k52 {

std::string FieldDifference::Line() const {
    return path + ": " + from.dump() + " -> " + to.dump();
}

std::vector<FieldDifference> DiffTemplates(const ApplicationTemplate& a, const ApplicationTemplate& b) {
    std::vector<FieldDifference> out;
    for (const ValueRef& v : TemplateValuesInByteOrder()) {
        if (std::memcmp(a.bytes() + v.offset, b.bytes() + v.offset, v.field->width) == 0) continue;
        out.push_back({v.path, ValueToJson(a, *v.field, v.offset), ValueToJson(b, *v.field, v.offset)});
    }
    return out;
}

TemplateJsonValue DifferencesToJson(const std::vector<FieldDifference>& differences) {
    TemplateJsonValue a = TemplateJsonValue::array();
    for (const FieldDifference& d : differences)
        a.push_back({{"path", d.path}, {"from", d.from}, {"to", d.to}});
    return a;
}

}  // namespace k52
