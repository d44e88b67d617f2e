// The menu page: the ten menus, one at a time, on a working copy.
#pragma once

#include "editor/ControlLogic.h"
#include "template/Template.h"

namespace k52 {

class MenuPage : public SheetPage {
  public:
    enum : int {
        kMenuList = 700,
        kEscapeList = 751,
        kShowTitleCheck = 101,
        kTitleBox = 691,
        kFirstOptionBox = 601,   // 601..610
        kFirstTargetList = 701,  // 701..710
        kStoreTitleCheck = 102,
        kStoreSelectionCheck = 103,
        kPassDownCheck = 104,
        kCopyButton = 210,
    };
    static constexpr int kTextLimit = 15;

    explicit MenuPage(ApplicationTemplate& t) : t_(t) {}

    void Commit() override;
    void Discard() override { built_ = false; }
    PageState State() const override { return {BytesOf(menus_), current_}; }
    int currentMenu() const { return current_; }
    // Menu `slot` (0-based) holds a title or options; copying onto it would replace them.
    bool SlotInUse(int slot) const { return slot >= 0 && slot < kMenuCount && InUse(menus_[slot]); }
    // The current menu, whole, onto `slot`, which then becomes the current menu.
    ControlUpdates CopyTo(int slot);

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnSelectionChanged(int id, int index) override;
    void OnClicked(int id) override;
    void OnRestore(const PageState& state) override;

  private:
    MenuRecord& menu() { return menus_[current_]; }
    void ShowMenu();

    ApplicationTemplate& t_;
    bool built_ = false;
    MenuRecord menus_[kMenuCount]{};
    int current_ = 0;
};

}  // namespace k52
