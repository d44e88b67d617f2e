// The start-up page: start position, separators, system settings, guarded functions and password.
#include "editor/StartupPage.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "i18n/Translate.h"
#include "protocol/LineSpeeds.h"
#include "template/Cp950.h"

namespace k52 {
namespace {

// Where each setting list stores its value, with its entries.
struct SettingList {
    std::size_t offset;
    std::vector<std::string> entries;
};

std::vector<std::string> SpeedList() {
    std::vector<std::string> list;
    for (std::uint32_t bps : kLineSpeeds) list.push_back(std::to_string(bps) + " bps");
    return list;
}

const std::vector<SettingList>& SettingLists() {
    static const std::vector<SettingList> lists = {
        {offsetof(StartupSettings, uploadPort),
         {"RS-232 / Cradle", "IR Transceiver", "Standard IrDA", "Keyboard Wedge"}},
        {offsetof(StartupSettings, downloadPort), {"RS-232 / Cradle", "IR Transceiver", "Standard IrDA"}},
        {offsetof(StartupSettings, transferSpeed), SpeedList()},
        {offsetof(StartupSettings, backlight), {"Turn off", "Turn on"}},
        {offsetof(StartupSettings, deleteMode), {"Manually", "Automatically"}},
        {offsetof(StartupSettings, recordCountPrompt), {"Yes", "No"}},
    };
    return lists;
}

u8& SettingByte(StartupSettings& s, std::size_t offset) {
    return reinterpret_cast<u8*>(&s)[offset];
}

// A lone byte above 127 is not a character of its own; its box stays empty.
std::string SymbolText(u8 separator) {
    if (separator == 0 || separator > 127) return {};
    return std::string(1, static_cast<char>(separator));
}

}  // namespace

void StartupPage::OnInitialise() {
    built_ = true;
    startPosition_ = t_.startPosition;
    separators_[0] = t_.fieldSeparators.separator1;
    separators_[1] = t_.fieldSeparators.separator2;
    separatorCount_ = separators_[0] == 0 ? 0 : (separators_[1] == 0 ? 1 : 2);
    settings_ = t_.startupSettings;
    password_ = std::string(FieldText(t_.securityPassword));
    ShowAll();
}

PageState StartupPage::State() const {
    std::string bytes = BytesOf(startPosition_) + BytesOf(static_cast<u8>(separatorCount_)) +
                        BytesOf(separators_) + BytesOf(settings_);
    return {bytes + password_, 0};
}

void StartupPage::OnRestore(const PageState& state) {
    std::string_view bytes = state.bytes;
    u8 count = 0;
    ReadBytes(bytes, 0, startPosition_);
    ReadBytes(bytes, 1, count);
    ReadBytes(bytes, 2, separators_);
    ReadBytes(bytes, 4, settings_);
    separatorCount_ = count;
    password_ = std::string(bytes.substr(std::min(bytes.size(), 4 + sizeof settings_)));
    ShowAll();
}

void StartupPage::ShowAll() {
    echoGuard_ = false;
    Fill(kStartList, {K52_TR("Editor", "表單 1"), K52_TR("Editor", "選單 1")});
    Select(kStartList, startPosition_, 2);
    Fill(kSeparatorCountList, {K52_TR("Editor", "無"), " 1 ", " 2 "});
    Select(kSeparatorCountList, separatorCount_, 3);
    const auto& lists = SettingLists();
    for (std::size_t i = 0; i < lists.size(); ++i) {
        int id = kFirstSettingList + static_cast<int>(i);
        Fill(id, lists[i].entries);
        Select(id, SettingByte(settings_, lists[i].offset), static_cast<int>(lists[i].entries.size()));
    }
    ShowText(kValueBox1, std::to_string(separators_[0]));
    ShowText(kValueBox2, std::to_string(separators_[1]));
    ShowText(kSymbolBox1, SymbolText(separators_[0]));
    ShowText(kSymbolBox2, SymbolText(separators_[1]));
    ShowCp950(kPasswordBox, password_);
    for (int i = 0; i < kGuardCount; ++i) Check(kFirstGuardCheck + i, settings_.passwordGuard[i] != 0);
    EnableSeparatorBoxes();
}

void StartupPage::EnableSeparatorBoxes() {
    Enable(kValueBox1, separatorCount_ >= 1);
    Enable(kSymbolBox1, separatorCount_ >= 1);
    Enable(kValueBox2, separatorCount_ == 2);
    Enable(kSymbolBox2, separatorCount_ == 2);
}

void StartupPage::OnSelectionChanged(int id, int index) {
    if (id == kStartList) {
        startPosition_ = static_cast<u8>(index);
    } else if (id == kSeparatorCountList) {
        separatorCount_ = index;
        EnableSeparatorBoxes();
    } else if (id >= kFirstSettingList && id < kFirstSettingList + static_cast<int>(SettingLists().size())) {
        SettingByte(settings_, SettingLists()[static_cast<std::size_t>(id - kFirstSettingList)].offset) =
            static_cast<u8>(index);
    }
}

void StartupPage::OnClicked(int id) {
    int entry = id - kFirstGuardCheck;
    if (entry < 0 || entry >= kGuardCount) return;
    u8& flag = settings_.passwordGuard[entry];
    flag = flag ? 0 : 1;
    Check(id, flag != 0);
}

void StartupPage::OnTextChanged(int id, std::string_view utf8) {
    switch (id) {
        case kValueBox1:
            ValueChanged(0, utf8);
            break;
        case kValueBox2:
            ValueChanged(1, utf8);
            break;
        case kSymbolBox1:
            SymbolChanged(0, utf8);
            break;
        case kSymbolBox2:
            SymbolChanged(1, utf8);
            break;
        case kPasswordBox:
            if (auto text = AcceptText(id, utf8, kPasswordLimit)) password_ = *text;
            break;
        default:
            break;
    }
}

// The value and symbol boxes of a separator show the same byte. Each tells the other of a change it
// received from the user; the echo guard keeps the other box's resulting change from coming back.
void StartupPage::ValueChanged(int which, std::string_view utf8) {
    auto number = ParseBoxNumber(utf8);
    if (!number) {
        if (!utf8.empty()) ReplaceText(which == 0 ? kValueBox1 : kValueBox2, "0");
        return;
    }
    if (*number > 255) return;
    separators_[which] = static_cast<u8>(*number);
    if (echoGuard_) {
        echoGuard_ = false;
    } else {
        echoGuard_ = true;
        ReplaceText(which == 0 ? kSymbolBox1 : kSymbolBox2, SymbolText(separators_[which]));
    }
}

void StartupPage::SymbolChanged(int which, std::string_view utf8) {
    auto text = AcceptText(which == 0 ? kSymbolBox1 : kSymbolBox2, utf8, 1);
    if (!text) return;
    if (echoGuard_) {
        // The box only shows what the value box holds; a byte it cannot show must not overwrite it.
        echoGuard_ = false;
        return;
    }
    separators_[which] = text->empty() ? 0 : static_cast<u8>((*text)[0]);
    echoGuard_ = true;
    ReplaceText(which == 0 ? kValueBox1 : kValueBox2, std::to_string(separators_[which]));
}

void StartupPage::Commit() {
    if (!built_) return;
    t_.startPosition = startPosition_;
    t_.fieldSeparators.separator1 = separators_[0];
    t_.fieldSeparators.separator2 = separators_[1];
    if (separatorCount_ == 0) t_.fieldSeparators.separator1 = 0;
    if (separatorCount_ <= 1) t_.fieldSeparators.separator2 = 0;
    WriteFieldText(t_.securityPassword, password_, kPasswordLimit);
    t_.startupSettings = settings_;
    built_ = false;
}

}  // namespace k52
