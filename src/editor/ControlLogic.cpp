// The control-update plumbing every page and dialog shares, and the number and list helpers they use.
#include "editor/ControlLogic.h"

#include <algorithm>
#include <limits>

#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "template/Template.h"
#include "util/Parse.h"

namespace k52 {
ControlUpdates ControlLogic::Initialise() {
    return Run([&] { OnInitialise(); });
}

ControlUpdates ControlLogic::TextChanged(int id, std::string_view utf8) {
    return Run([&] { OnTextChanged(id, utf8); });
}

ControlUpdates ControlLogic::SelectionChanged(int id, int index) {
    return Run([&] {
        if (index >= 0) OnSelectionChanged(id, index);
    });
}

ControlUpdates ControlLogic::Clicked(int id) {
    return Run([&] { OnClicked(id); });
}

void ControlLogic::ShowText(int id, std::string utf8) {
    updates_.push_back({UpdateKind::Text, id, 0, std::move(utf8), {}});
}

void ControlLogic::ShowCp950(int id, std::string_view cp950) {
    ShowText(id, Cp950ToUtf8(cp950));
}

void ControlLogic::ReplaceText(int id, std::string utf8) {
    echoes_.emplace_back(id, utf8);
    ShowText(id, std::move(utf8));
}

void ControlLogic::Enable(int id, bool on) {
    updates_.push_back({UpdateKind::Enabled, id, on ? 1 : 0, {}, {}});
}

void ControlLogic::Check(int id, bool on) {
    updates_.push_back({UpdateKind::Checked, id, on ? 1 : 0, {}, {}});
}

void ControlLogic::Select(int id, int value, int count) {
    updates_.push_back({UpdateKind::Selection, id, (value >= 0 && value < count) ? value : -1, {}, {}});
}

void ControlLogic::Fill(int id, std::vector<std::string> items) {
    // List entries are always the program's own texts, shown in the chosen language.
    for (std::string& item : items) item = TranslateNumbered("Editor", item);
    updates_.push_back({UpdateKind::Items, id, 0, {}, std::move(items)});
}

void ControlLogic::FillShown(int id, std::vector<std::string> items) {
    updates_.push_back({UpdateKind::Items, id, 0, {}, std::move(items)});
}

void ControlLogic::RequestOpen(int id) {
    updates_.push_back({UpdateKind::Open, id, 0, {}, {}});
}

void ControlLogic::Close(int result) {
    updates_.push_back({UpdateKind::Close, 0, result, {}, {}});
}

std::optional<std::string> ControlLogic::AcceptText(int id, std::string_view utf8, std::size_t limit) {
    Cp950Encoding encoded = Utf8ToCp950(utf8);
    std::string_view cut = CutToByteLimit(encoded.bytes, limit);
    if (!encoded.unmappable.empty() || cut.size() != encoded.bytes.size()) {
        ReplaceText(id, Cp950ToUtf8(cut));
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

void ControlLogic::AcceptNumber(int id, std::string_view utf8, std::uint8_t& field, std::uint32_t limit) {
    auto number = ParseBoxNumber(utf8);
    if (!number) {
        field = 0;
        if (!utf8.empty()) ReplaceText(id, "0");
        return;
    }
    if (*number <= limit) field = static_cast<std::uint8_t>(*number);
}

std::optional<std::uint32_t> ParseBoxNumber(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    text.remove_prefix(start);
    if (auto value = ParseUnsigned<std::uint32_t>(text)) return value;
    // Digits only but too large for 32 bits: the largest number, so a limit check refuses it.
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) return std::numeric_limits<std::uint32_t>::max();
    return std::nullopt;
}

std::vector<std::string> TargetList() {
    std::vector<std::string> list;
    for (int code = 0; code < kTargetCount; ++code) list.push_back(TargetLabel(static_cast<u8>(code)));
    return list;
}

std::vector<std::string> TitledTargetList(const MenuRecord (&menus)[kMenuCount]) {
    std::vector<std::string> list;
    for (int code = 0; code < kTargetCount; ++code) {
        std::string label = TranslateNumbered("Editor", TargetLabel(static_cast<u8>(code)));
        const Target target = DecodeTarget(static_cast<u8>(code));
        if (target.kind == TargetKind::Menu) {
            const std::string title = Cp950ToUtf8(FieldText(menus[target.number - 1].title));
            if (!title.empty()) label += ": " + title;
        }
        list.push_back(std::move(label));
    }
    return list;
}

ControlUpdates SheetPage::Restore(const PageState& state) {
    return Run([&] { OnRestore(state); });
}

std::vector<std::string> NumberedList(std::string_view prefix, int first, int last) {
    std::vector<std::string> list;
    for (int n = first; n <= last; ++n) list.push_back(std::string(prefix) + std::to_string(n));
    return list;
}

}  // namespace k52
