// The engine: key dispatch, the firmware's own screens and the clock tick.
#include "simulator/TerminalSimulator.h"

#include <algorithm>
#include <cstring>

#include "i18n/Translate.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {

const char kNothingToRunText[] = K52_TR("Simulator", "請定義您的應用程式!!");
const char kNothingToRunTitle[] = K52_TR("Simulator", "沒有可執行之程式");

namespace {

NullSimView gNullView;

// The firmware's texts, in the display's code page. Inner and trailing blanks count.
struct FirmwareTexts {
    std::string mainMenu[4];
    std::string tools[8];
    std::string settings[8];
    std::string upload[4];
    std::string frame;
    std::string messages[2];
    std::string pressAnyKey;
};

std::string Cp950(const char* utf8) {
    return Utf8ToCp950(utf8).bytes;
}

const FirmwareTexts& Texts() {
    static const FirmwareTexts texts = [] {
        FirmwareTexts t;
        const char* mainMenu[4] = {"1. 收 集 資 料", "2. 上 傳 檔 案", "3. 系 統 工 具", "              "};
        const char* tools[8] = {"1.系 統 設 定",       "2.瀏 覽 資 料",       "3.刪 除 資 料",
                                "4.試 讀 條 碼",       "5.設 定 日 期 時 間", "6.下 載 系 統 程 式",
                                "7.記 憶 體 和 電 池", "8.下 載 索 引 檔 案"};
        const char* settings[8] = {" [ 系  統  設  定 ] ", "1.設 定 上 傳 埠   ", "2.設 定 下 載 埠   ",
                                   "3.設 定 傳 輸 速 度",  "4.設 定 螢 幕 背 光", "5.設 定 刪 除 資 料",
                                   "6.資 料 筆 數 提 示",  "7.察 看 系 統 設 定"};
        const char* upload[4] = {"通 訊 連 接 中 .", "                ", "若 要 取 消     ",
                                 "請 按 ESC       "};
        for (int i = 0; i < 4; ++i) t.mainMenu[i] = Cp950(mainMenu[i]);
        for (int i = 0; i < 8; ++i) t.tools[i] = Cp950(tools[i]);
        for (int i = 0; i < 8; ++i) t.settings[i] = Cp950(settings[i]);
        for (int i = 0; i < 4; ++i) t.upload[i] = Cp950(upload[i]);
        t.frame = std::string(20, '*');
        t.messages[0] = Cp950("資 料 類 型 錯 誤 !");
        t.messages[1] = Cp950("資 料 長 度 太 短 !");
        t.pressAnyKey = Cp950("請 按 任 意 鍵 ... ");
        return t;
    }();
    return texts;
}

// Up and Down move the highlight bar over rows first..last, wrapping at either end.
int MoveHighlight(int row, int first, int last, bool up) {
    if (up) return row <= first ? last : std::min(row - 1, last);
    return row >= last ? first : std::max(row + 1, first);
}

}  // namespace

const char* SimStateName(SimState s) {
    switch (s) {
        case SimState::MainMenu:
            return "MainMenu";
        case SimState::AppMenu:
            return "AppMenu";
        case SimState::FormEntry:
            return "FormEntry";
        case SimState::SystemTools:
            return "SystemTools";
        case SimState::SystemSettings:
            return "SystemSettings";
        case SimState::UploadWait:
            return "UploadWait";
        case SimState::MessageScreen:
            return "MessageScreen";
    }
    return "Unknown";
}

// ---- Engine

TerminalSimulator::TerminalSimulator(ApplicationTemplate& t, LocalClock& clock, SimView* view)
    : t_(t), clock_(clock), view_(view ? view : &gNullView) {}

void TerminalSimulator::SetView(SimView* view) {
    view_ = view ? view : &gNullView;
}

void TerminalSimulator::Invalidate(const SimRect& r) {
    view_->InvalidateRect(r);
}

void TerminalSimulator::SetRow(int r, std::string_view text) {
    if (r < 0 || r >= kSimRows) return;
    // A row holds 20 columns; a longer text is cut without splitting a double-byte character.
    std::string_view shown = CutToByteLimit(text, kSimColumns);
    std::memset(screen_.rows[r], 0, sizeof screen_.rows[r]);
    if (!shown.empty()) std::memcpy(screen_.rows[r], shown.data(), shown.size());
}

void TerminalSimulator::Start() {
    eng_.highlightRow = 1;
    ShowMainMenu(true);
}

void TerminalSimulator::ResetRun() {
    eng_ = EngineState{};
    run_ = RuntimeState{};
}

void TerminalSimulator::DispatchKey(int code) {
    if (!((code >= 1 && code <= kKeyCount) || code == kRestartCode)) return;
    if (run_.letterPending && code != eng_.lastKey) {
        CommitPendingLetter();
        // A refused letter brings up the message; this key dismisses nothing the user has not seen.
        if (eng_.simState == SimState::MessageScreen && code != kRestartCode) {
            eng_.lastKey = code;
            return;
        }
    }
    eng_.lastKey = code;
    if (code == kRestartCode) {
        eng_.highlightRow = 1;
        ShowMainMenu(true);
        return;
    }
    switch (eng_.simState) {
        case SimState::MainMenu:
            MainMenuKey(code);
            break;
        case SimState::AppMenu:
            MenuKey(code);
            break;
        case SimState::FormEntry:
            if (code != kKeyDown) FormKey(code);
            break;
        case SimState::SystemTools:
            SystemToolsKey(code);
            break;
        case SimState::SystemSettings:
            SystemSettingsKey(code);
            break;
        case SimState::UploadWait:
            if (code == kKeyEsc) {
                eng_.highlightRow = 1;
                ShowMainMenu(true);
            }
            break;
        case SimState::MessageScreen:
            ShowForm(eng_.activeTarget);
            break;
    }
}

void TerminalSimulator::UpdateAfterEdit() {
    eng_.toolCount = t_.lookupFile(1).defined() ? 8 : 7;
    DeriveContinuationLengths(t_);
}

void TerminalSimulator::Tick() {
    run_.tickCount = (run_.tickCount + 1) % 10;
    if (eng_.simState == SimState::MainMenu) view_->DrawStatusLine(StatusText());
    if (run_.letterPending) {
        int t = run_.tapTicks++;
        if (t > 5) CommitPendingLetter();
    }
}

std::string TerminalSimulator::StatusText() const {
    return FormatStatusText(clock_.Now(), run_.tickCount, run_.collectedCount);
}

// ---- Firmware screens

void TerminalSimulator::ShowMainMenu(bool fullRepaint) {
    const FirmwareTexts& texts = Texts();
    for (int r = 0; r < 4; ++r) SetRow(r, texts.mainMenu[r]);
    for (int r = 4; r < 7; ++r) SetRow(r, {});
    // Row 7 belongs to the status line, which the clock draws over it.
    eng_.simState = SimState::MainMenu;
    eng_.activeTarget = 0;
    Invalidate(fullRepaint ? WholeDisplayRect() : TopFiveRowsRect());
}

void TerminalSimulator::MainMenuKey(int key) {
    int digit = KeyDigit(key);
    if (key == kKeyEnter && eng_.highlightRow >= 1 && eng_.highlightRow <= 3) digit = eng_.highlightRow;
    switch (digit) {
        case 1:
            RunApplication();
            return;
        case 2:
            eng_.highlightRow = 0;
            ShowUploadWait();
            return;
        case 3:
            eng_.highlightRow = 1;
            ShowSystemTools();
            return;
        default:
            break;
    }
    if (key == kKeyUp || key == kKeyDown) {
        eng_.highlightRow = MoveHighlight(eng_.highlightRow, 1, 3, key == kKeyUp);
        ShowMainMenu(false);
    }
}

void TerminalSimulator::RunApplication() {
    DeriveTemplateFields(t_);
    if (t_.startPosition == 0) {
        if (t_.form(1).lastInputLine != 0) {
            StartForm(1);
            return;
        }
    } else if (t_.menu(1).optionCount != 0) {
        EnterMenu(MenuTarget(1));
        return;
    }
    view_->ShowMessageBox(kNothingToRunText, kNothingToRunTitle, MessageIcon::Warning);
    view_->PostCommand(kNewCommand);
    view_->ReleaseKeyPress();
}

void TerminalSimulator::ShowUploadWait() {
    const FirmwareTexts& texts = Texts();
    for (int r = 0; r < 4; ++r) SetRow(r, texts.upload[r]);
    for (int r = 4; r < kSimRows; ++r) SetRow(r, {});
    eng_.simState = SimState::UploadWait;
    Invalidate(WholeDisplayRect());
}

void TerminalSimulator::ShowSystemTools() {
    const FirmwareTexts& texts = Texts();
    int count = std::clamp(eng_.toolCount, 7, 8);
    for (int r = 0; r < kSimRows; ++r) SetRow(r, r < count ? std::string_view(texts.tools[r]) : "");
    eng_.simState = SimState::SystemTools;
    Invalidate(WholeDisplayRect());
}

void TerminalSimulator::SystemToolsKey(int key) {
    int count = std::clamp(eng_.toolCount, 7, 8);
    int digit = KeyDigit(key);
    if (key == kKeyEnter) digit = eng_.highlightRow;
    if (digit == 1) {
        eng_.highlightRow = 8;
        ShowSystemSettings();
        return;
    }
    switch (key) {
        case kKeyUp:
        case kKeyDown:
            eng_.highlightRow = MoveHighlight(eng_.highlightRow, 1, count, key == kKeyUp);
            ShowSystemTools();
            break;
        case kKeyEsc:
            eng_.highlightRow = 3;
            ShowMainMenu(true);
            break;
        default:
            break;
    }
}

void TerminalSimulator::ShowSystemSettings() {
    const FirmwareTexts& texts = Texts();
    for (int r = 0; r < kSimRows; ++r) SetRow(r, texts.settings[r]);
    eng_.simState = SimState::SystemSettings;
    Invalidate(WholeDisplayRect());
}

void TerminalSimulator::SystemSettingsKey(int key) {
    int digit = KeyDigit(key);
    if ((digit >= 1 && digit <= 7) || key == kKeyEnter || key == kKeyEsc) {
        eng_.highlightRow = 1;
        ShowSystemTools();
    } else if (key == kKeyUp || key == kKeyDown) {
        // Row 1 is the heading.
        eng_.highlightRow = MoveHighlight(eng_.highlightRow, 2, 8, key == kKeyUp);
        ShowSystemSettings();
    }
}

void TerminalSimulator::ShowMessage(int n) {
    const FirmwareTexts& texts = Texts();
    // Rows 0..3 keep the form's rows.
    SetRow(4, texts.frame);
    SetRow(5, texts.messages[n == 2 ? 1 : 0]);
    SetRow(6, texts.pressAnyKey);
    SetRow(7, texts.frame);
    eng_.simState = SimState::MessageScreen;
    Invalidate(WholeDisplayRect());
}

}  // namespace k52
