// The menu page: the ten menus' titles, options and targets, edited in a working copy until OK.
#include "editor/MenuPage.h"

#include <algorithm>

#include "i18n/Translate.h"
#include "template/Cp950.h"

namespace k52 {

void MenuPage::OnInitialise() {
    built_ = true;
    std::copy(std::begin(t_.menus), std::end(t_.menus), menus_);
    current_ = 0;
    Fill(kMenuList, NumberedList(K52_TR("Editor", "選單  "), 1, kMenuCount));
    Select(kMenuList, 0, kMenuCount);
    ShowMenu();
}

// The target lists name the menus by their titles as they stand in the working copy.
void MenuPage::ShowMenu() {
    const std::vector<std::string> targets = TitledTargetList(menus_);
    FillShown(kEscapeList, targets);
    for (int i = 0; i < kOptionsPerMenu; ++i) FillShown(kFirstTargetList + i, targets);
    MenuRecord& m = menu();
    Select(kEscapeList, m.escapeTarget, kTargetCount);
    ShowCp950(kTitleBox, FieldText(m.title));
    Check(kShowTitleCheck, m.showTitle != 0);
    Enable(kTitleBox, m.showTitle != 0);
    Check(kStoreTitleCheck, m.storeTitle != 0);
    Check(kStoreSelectionCheck, m.storeSelection != 0);
    Check(kPassDownCheck, m.passDown != 0);
    for (int i = 0; i < kOptionsPerMenu; ++i) {
        ShowCp950(kFirstOptionBox + i, FieldText(m.options[i]));
        Select(kFirstTargetList + i, m.optionTargets[i], kTargetCount);
    }
}

void MenuPage::OnSelectionChanged(int id, int index) {
    if (id == kMenuList) {
        if (index == current_ || index >= kMenuCount) return;
        current_ = index;
        ShowMenu();
    } else if (id == kEscapeList) {
        menu().escapeTarget = static_cast<u8>(index);
    } else if (id >= kFirstTargetList && id < kFirstTargetList + kOptionsPerMenu) {
        menu().optionTargets[id - kFirstTargetList] = static_cast<u8>(index);
    }
}

void MenuPage::OnTextChanged(int id, std::string_view utf8) {
    u8* field = nullptr;
    if (id == kTitleBox)
        field = menu().title;
    else if (id >= kFirstOptionBox && id < kFirstOptionBox + kOptionsPerMenu)
        field = menu().options[id - kFirstOptionBox];
    if (!field) return;
    if (auto text = AcceptText(id, utf8, kTextLimit)) WriteFieldText(field, 21, *text, kTextLimit);
}

void MenuPage::OnClicked(int id) {
    if (id == kCopyButton) {
        RequestOpen(id);
        return;
    }
    MenuRecord& m = menu();
    u8* flag = nullptr;
    switch (id) {
        case kShowTitleCheck:
            flag = &m.showTitle;
            break;
        case kStoreTitleCheck:
            flag = &m.storeTitle;
            break;
        case kStoreSelectionCheck:
            flag = &m.storeSelection;
            break;
        case kPassDownCheck:
            flag = &m.passDown;
            break;
        default:
            return;
    }
    *flag = *flag ? 0 : 1;
    Check(id, *flag != 0);
    // The title is kept while it is hidden; its box is only disabled.
    if (id == kShowTitleCheck) Enable(kTitleBox, *flag != 0);
}

void MenuPage::OnRestore(const PageState& state) {
    ReadBytes(state.bytes, 0, menus_);
    current_ = std::clamp(state.current, 0, kMenuCount - 1);
    Select(kMenuList, current_, kMenuCount);
    ShowMenu();
}

ControlUpdates MenuPage::CopyTo(int slot) {
    return Run([&] {
        if (slot < 0 || slot >= kMenuCount || slot == current_) return;
        menus_[slot] = menus_[current_];
        current_ = slot;
        Select(kMenuList, current_, kMenuCount);
        ShowMenu();
    });
}

void MenuPage::Commit() {
    if (!built_) return;
    std::copy(std::begin(menus_), std::end(menus_), t_.menus);
    built_ = false;
}

}  // namespace k52
