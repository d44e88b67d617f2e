// Field-level comparison of two templates: which values differ, by JSON path, in the order of the bytes.
#pragma once

#include <string>
#include <vector>

#include "template/Template.h"
#include "textformat/TemplateJson.h"

namespace k52 {

struct FieldDifference {
    std::string path;  // "menus[1].optionTargets[0]"
    TemplateJsonValue from, to;

    // "menus[1].optionTargets[0]: 11 -> 12"; texts quoted, raw bytes as {"hex":"..."}.
    std::string Line() const;
};

std::vector<FieldDifference> DiffTemplates(const ApplicationTemplate& a, const ApplicationTemplate& b);

// [{"path": ..., "from": ..., "to": ...}, ...]
TemplateJsonValue DifferencesToJson(const std::vector<FieldDifference>& differences);

}  // namespace k52
