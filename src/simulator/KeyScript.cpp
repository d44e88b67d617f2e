// Reading and writing key scripts.
#include "simulator/KeyScript.h"

#include <cctype>

#include "simulator/Keys.h"
#include "util/Parse.h"

namespace k52 {
namespace {

constexpr std::size_t kLineWidth = 72;

std::optional<int> Number(std::string_view s) {
    const auto n = ParseUnsigned<unsigned>(s, 999999999);
    if (!n) return std::nullopt;
    return static_cast<int>(*n);
}

std::optional<KeyStep> ParseToken(std::string_view token) {
    KeyStep step;
    if (token[0] == '@') {
        if (token.size() == 1) return std::nullopt;
        step.kind = KeyStep::Mark;
        step.mark = std::string(token.substr(1));
        return step;
    }
    if (token[0] == 't' || token[0] == 'T') {
        step.kind = KeyStep::Ticks;
        step.value = 1;
        if (token.size() > 1) {
            const auto n = Number(token.substr(1));
            if (!n) return std::nullopt;
            step.value = *n;
        }
        return step;
    }
    const auto n = Number(token);
    if (!n || !((*n >= 1 && *n <= kKeyCount) || *n == kRestartCode)) return std::nullopt;
    step.value = *n;
    return step;
}

bool Separator(char c) {
    return c == ',' || std::isspace(static_cast<unsigned char>(c));
}

}  // namespace

std::optional<std::vector<KeyStep>> ParseKeyScript(std::string_view text, std::string* bad) {
    std::vector<KeyStep> steps;
    std::size_t i = 0;
    while (i < text.size()) {
        if (Separator(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !Separator(text[end])) ++end;
        const std::string_view token = text.substr(i, end - i);
        const auto step = ParseToken(token);
        if (!step) {
            if (bad) *bad = std::string(token);
            return std::nullopt;
        }
        steps.push_back(*step);
        i = end;
    }
    return steps;
}

void KeyScriptRecorder::Key(int code) {
    steps_.push_back({KeyStep::Key, code, {}});
    ++keys_;
}

void KeyScriptRecorder::Ticks(int count) {
    if (count <= 0) return;
    if (!steps_.empty() && steps_.back().kind == KeyStep::Ticks)
        steps_.back().value += count;
    else
        steps_.push_back({KeyStep::Ticks, count, {}});
}

std::string KeyScriptRecorder::Text() const {
    std::string text, line;
    for (const KeyStep& s : steps_) {
        const std::string token =
            s.kind == KeyStep::Ticks ? "t" + std::to_string(s.value) : std::to_string(s.value);
        if (!line.empty() && line.size() + 1 + token.size() > kLineWidth) {
            text += line + "\n";
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += token;
    }
    if (!line.empty()) text += line + "\n";
    return text;
}

}  // namespace k52
