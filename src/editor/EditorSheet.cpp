// The editor sheet: its five pages built on first sight, each change a step of an undo stack, and the
// pages committed in page order at OK.
#include "editor/EditorSheet.h"

#include <string>

#include "i18n/Translate.h"

namespace k52 {

const char kDiscardQuestion[] = K52_TR("Editor", "要放棄所做的變更嗎??");

namespace {

const char kReplaceFormQuestion[] = K52_TR("Editor", "表單 %1 已有內容, 要以表單 %2 取代嗎??");
const char kReplaceMenuQuestion[] = K52_TR("Editor", "選單 %1 已有內容, 要以選單 %2 取代嗎??");

}  // namespace

std::string_view EditorSheet::TabCaption(int page) {
    static constexpr std::string_view kCaptions[kPageCount] = {
        K52_TR("Editor", "表單"), K52_TR("Editor", "選單"), K52_TR("Editor", "索引檔"),
        K52_TR("Editor", "條碼設定"), K52_TR("Editor", "起動")};
    return (page >= 0 && page < kPageCount) ? kCaptions[page] : std::string_view{};
}

EditorSheet::EditorSheet(TemplateDocument& doc, EditorHost& host)
    : doc_(doc),
      forms_(doc, host),
      menus_(doc.tmpl),
      lookups_(doc.tmpl),
      barcode_(doc.tmpl.barcodeSettings),
      startup_(doc.tmpl),
      barcodeAtOpen_(doc.tmpl.barcodeSettings) {
    for (int i = 0; i < kPageCount; ++i) events_.emplace_back(*this, i);
}

SheetPage& EditorSheet::page(int index) {
    switch (index) {
        case kMenuPage:
            return menus_;
        case kLookupPage:
            return lookups_;
        case kBarcodePage:
            return barcode_;
        case kStartupPage:
            return startup_;
        default:
            return forms_;
    }
}

const SheetPage& EditorSheet::page(int index) const {
    return const_cast<EditorSheet*>(this)->page(index);
}

ControlUpdates EditorSheet::Show(int index) {
    if (index < 0 || index >= kPageCount || shown(index)) return {};
    const auto slot = static_cast<std::size_t>(index);
    shown_[slot] = true;
    ControlUpdates updates = page(index).Initialise();
    initial_[slot] = page(index).State();
    beforeDialog_[slot] = initial_[slot];
    return updates;
}

ControlEvents& EditorSheet::events(int index) {
    return events_[static_cast<std::size_t>(index >= 0 && index < kPageCount ? index : 0)];
}

ControlUpdates EditorSheet::PageEvents::TextChanged(int id, std::string_view utf8) {
    return sheet_.Recorded(page_, id, [&] { return sheet_.page(page_).TextChanged(id, utf8); });
}

ControlUpdates EditorSheet::PageEvents::SelectionChanged(int id, int index) {
    return sheet_.Recorded(page_, 0, [&] { return sheet_.page(page_).SelectionChanged(id, index); });
}

ControlUpdates EditorSheet::PageEvents::Clicked(int id) {
    // A button that opens a dialog: what the dialog changes is recorded when it closes.
    if (sheet_.shown(page_))
        sheet_.beforeDialog_[static_cast<std::size_t>(page_)] = sheet_.page(page_).State();
    return sheet_.Recorded(page_, 0, [&] { return sheet_.page(page_).Clicked(id); });
}

template <typename F>
ControlUpdates EditorSheet::Recorded(int index, int textId, F&& change) {
    if (!shown(index)) return {};
    PageState before = page(index).State();
    ControlUpdates updates = change();
    PageState after = page(index).State();
    if (after.bytes != before.bytes) Push({index, textId, std::move(before), std::move(after)});
    return updates;
}

// Typing into one box, key after key, is one step until something else happens.
void EditorSheet::Push(Step step) {
    redo_.clear();
    if (step.textId != 0 && !undo_.empty()) {
        Step& last = undo_.back();
        if (last.page == step.page && last.textId == step.textId) {
            last.after = std::move(step.after);
            return;
        }
    }
    undo_.push_back(std::move(step));
}

void EditorSheet::DialogClosed(int index) {
    if (!shown(index)) return;
    const auto slot = static_cast<std::size_t>(index);
    PageState after = page(index).State();
    if (after.bytes != beforeDialog_[slot].bytes) Push({index, 0, beforeDialog_[slot], after});
    beforeDialog_[slot] = std::move(after);
}

EditorSheet::StepResult EditorSheet::Undo() {
    if (undo_.empty()) return {};
    Step step = std::move(undo_.back());
    undo_.pop_back();
    StepResult result{step.page, page(step.page).Restore(step.before)};
    step.textId = 0;
    redo_.push_back(std::move(step));
    return result;
}

EditorSheet::StepResult EditorSheet::Redo() {
    if (redo_.empty()) return {};
    Step step = std::move(redo_.back());
    redo_.pop_back();
    StepResult result{step.page, page(step.page).Restore(step.after)};
    undo_.push_back(std::move(step));
    return result;
}

ControlUpdates EditorSheet::RevertPage(int index) {
    if (!shown(index)) return {};
    PageState before = page(index).State();
    PageState initial = initial_[static_cast<std::size_t>(index)];
    if (before.bytes == initial.bytes) return {};
    initial.current = before.current;
    ControlUpdates updates = page(index).Restore(initial);
    Push({index, 0, std::move(before), page(index).State()});
    return updates;
}

bool EditorSheet::SlotInUse(int index, int slot) const {
    if (index == kFormPage) return forms_.SlotInUse(slot);
    if (index == kMenuPage) return menus_.SlotInUse(slot);
    return false;
}

ControlUpdates EditorSheet::CopyTo(int index, int slot, MessageBoxes& messages) {
    if ((index != kFormPage && index != kMenuPage) || !shown(index)) return {};
    const int current = index == kFormPage ? forms_.currentForm() : menus_.currentMenu();
    if (slot == current) return {};
    if (SlotInUse(index, slot)) {
        const std::string question =
            Substitute(Translate("Editor", index == kFormPage ? kReplaceFormQuestion : kReplaceMenuQuestion),
                       {std::to_string(slot + 1), std::to_string(current + 1)});
        if (messages.ShowMessage(question, kCaption, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return {};
    }
    return Recorded(index, 0, [&] { return index == kFormPage ? forms_.CopyTo(slot) : menus_.CopyTo(slot); });
}

bool EditorSheet::HasChanges() const {
    for (int i = 0; i < kPageCount; ++i) {
        if (!shown(i)) continue;
        if (page(i).State().bytes != initial_[static_cast<std::size_t>(i)].bytes) return true;
    }
    return false;
}

void EditorSheet::Confirm() {
    Show(kFormPage);
    forms_.MarkModified(HasChanges());
    for (int i = 0; i < kPageCount; ++i)
        if (shown(i)) page(i).Commit();
    shown_.fill(false);
    undo_.clear();
    redo_.clear();
}

void EditorSheet::Cancel() {
    for (int i = 0; i < kPageCount; ++i)
        if (shown(i)) page(i).Discard();
    doc_.tmpl.barcodeSettings = barcodeAtOpen_;
    shown_.fill(false);
    undo_.clear();
    redo_.clear();
}

bool EditorSheet::RequestCancel(MessageBoxes& messages) {
    if (HasChanges() &&
        messages.ShowMessage(Translate("Editor", kDiscardQuestion), kCaption, MessageIcon::Question,
                             MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    Cancel();
    return true;
}

}  // namespace k52
