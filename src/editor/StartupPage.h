// The start-up page: where the application starts, the field separators of collected records, the
// terminal's system settings, its password-guarded functions and the security password.
#pragma once

#include <string>

#include "editor/ControlLogic.h"
#include "template/Template.h"

namespace k52 {

class StartupPage : public SheetPage {
  public:
    enum : int {
        kStartList = 700,
        kSeparatorCountList = 701,
        kFirstSettingList = 702,  // 702..707: upload port, download port, speed, backlight, delete, count
        kValueBox1 = 601,
        kValueBox2 = 602,
        kSymbolBox1 = 603,
        kSymbolBox2 = 604,
        kPasswordBox = 605,
        kFirstGuardCheck = 101,  // 101..112: passwordGuard entries 0..11
    };
    static constexpr int kGuardCount = 12;
    static constexpr int kPasswordLimit = 10;

    explicit StartupPage(ApplicationTemplate& t) : t_(t) {}

    void Commit() override;
    void Discard() override { built_ = false; }
    PageState State() const override;

  protected:
    void OnInitialise() override;
    void OnTextChanged(int id, std::string_view utf8) override;
    void OnSelectionChanged(int id, int index) override;
    void OnClicked(int id) override;
    void OnRestore(const PageState& state) override;

  private:
    void ShowAll();
    void EnableSeparatorBoxes();
    void ValueChanged(int which, std::string_view utf8);
    void SymbolChanged(int which, std::string_view utf8);

    ApplicationTemplate& t_;
    bool built_ = false;
    u8 startPosition_ = 0;
    int separatorCount_ = 0;
    u8 separators_[2] = {0, 0};
    StartupSettings settings_{};
    std::string password_;  // CP950
    bool echoGuard_ = false;
};

}  // namespace k52
