// The simulated terminal: its display, the firmware's own screens, and the runtime that runs the
// template's menus and forms. No window here: whatever draws the terminal implements SimView.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "simulator/Clock.h"
#include "template/Template.h"
#include "template/UserInterface.h"

namespace k52 {

// ---- Key codes of the keypad. The digit keys are laid out like a calculator.
constexpr int kKeyDigit7 = 1;   // also A B C
constexpr int kKeyDigit8 = 2;   // D E F
constexpr int kKeyDigit9 = 3;   // G H I
constexpr int kKeyDigit4 = 4;   // J K L
constexpr int kKeyDigit5 = 5;   // M N O
constexpr int kKeyDigit6 = 6;   // P Q R
constexpr int kKeyDigit1 = 7;   // S T U
constexpr int kKeyDigit2 = 8;   // V W X
constexpr int kKeyDigit3 = 9;   // Y Z *
constexpr int kKeyDigit0 = 10;  // + $ /
constexpr int kKeyPoint = 11;   // - % :
constexpr int kKeyEnter = 12;
constexpr int kKeyBackspace = 13;
constexpr int kKeySpace = 14;
constexpr int kKeyUp = 15;
constexpr int kKeyDown = 16;
constexpr int kKeyAlpha = 17;
constexpr int kKeyFunction = 18;
constexpr int kKeyEsc = 19;
constexpr int kKeyPower = 20;
constexpr int kKeyCount = 20;
constexpr int kRestartCode = 51;  // sent after the editor applies changes

// The digit a key carries (0..9), or -1 for a key without one.
int KeyDigit(int key);
// The key that carries digit d (0..9), or 0.
int DigitKey(int digit);
// The three characters a digit or point key gives in alpha mode, or nullptr.
const char* KeyLetterGroup(int key);

// The shell command the simulator posts when there is nothing to run ("New").
constexpr int kNewCommand = 1010;

// ---- The display: 8 rows of up to 20 bytes of CP950 text and a NUL.
constexpr int kSimRows = 8;
constexpr int kSimColumns = 20;

struct SimScreen {
    u8 rows[kSimRows][kSimColumns + 1] = {};

    // Row r's text up to its NUL.
    std::string_view Row(int r) const;
};

enum class SimState : int {
    MainMenu = 10,
    AppMenu = 100,
    FormEntry = 110,
    SystemTools = 200,
    SystemSettings = 300,
    UploadWait = 500,
    MessageScreen = 999,
};

// "MainMenu", "FormEntry", ...
const char* SimStateName(SimState s);

// A rectangle in the window's client coordinates; right and bottom are exclusive.
struct SimRect {
    int left, top, right, bottom;
    bool operator==(const SimRect&) const = default;
};

SimRect WholeDisplayRect();     // 25,52 .. 154,133
SimRect TopFiveRowsRect();      // 25,52 .. 154,103
SimRect DisplayRowRect(int r);  // 25,52+10r .. 154,62+10r

// What the engine asks of whoever draws the terminal (the desktop window, k52cli, a test).
class SimView {
  public:
    virtual ~SimView() = default;
    // Redraw everything inside `r` from the engine's screen and state (no erase needed).
    virtual void InvalidateRect(const SimRect& r) = 0;
    // A modal box with an OK button; texts are UTF-8.
    virtual void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    // Posts a command to the main window, as a menu command would arrive.
    virtual void PostCommand(int commandId) = 0;
    // Draws at once, in display cell (row, col): the cursor image and `letter` on it in black.
    virtual void DrawPendingLetter(int row, int col, char letter) = 0;
    // A box took the mouse in the middle of a key press: forget the press and release the capture.
    virtual void ReleaseKeyPress() = 0;
    // Draws the status line (20 characters) straight onto display row 7, over its background.
    virtual void DrawStatusLine(std::string_view text) = 0;
    // Draws the alpha indicator at 146,114: image 543 when on, 544 when off.
    virtual void DrawAlphaIndicator(bool on) = 0;
    // Draws key `key` (1..20) pressed or released at its origin.
    virtual void DrawKey(int key, bool pressed) = 0;
    // Opens the command menu at (x, y) in client coordinates.
    virtual void OpenCommandMenu(int x, int y) = 0;
};

// A view that draws nothing.
class NullSimView : public SimView {
  public:
    void InvalidateRect(const SimRect&) override {}
    void ShowMessageBox(std::string_view, std::string_view, MessageIcon) override {}
    void PostCommand(int) override {}
    void DrawPendingLetter(int, int, char) override {}
    void ReleaseKeyPress() override {}
    void DrawStatusLine(std::string_view) override {}
    void DrawAlphaIndicator(bool) override {}
    void DrawKey(int, bool) override {}
    void OpenCommandMenu(int, int) override {}
};

// The box shown when the application has nothing to run (UTF-8).
extern const char kNothingToRunText[];   // "請定義您的應用程式!!"
extern const char kNothingToRunTitle[];  // "沒有可執行之程式"

// ---- Engine and runtime state, readable by the window.
struct EngineState {
    SimState simState = SimState::MainMenu;
    int highlightRow = 1;  // 1-based; 0 = no highlight bar
    int toolCount = 7;     // items of the system tools menu, 7 or 8
    int activeTarget = 0;  // TargetCode of the menu or form being run; 0 on the firmware screens
    int lastKey = 0;
};

constexpr int kMaxLineText = 50;

// One form line being entered.
struct LineEntry {
    u8 text[kMaxLineText + 1] = {};
    int promptWidth = 0;  // bytes of the prompt shown, at most 20
    int column = 0;       // logical cursor column: promptWidth + index in text of the next character
    int scroll = 0;       // leading characters of text not shown

    std::string_view Text() const;
};

struct RuntimeState {
    int cursorRow = 0;
    int cursorCol = 0;
    bool alphaMode = false;
    bool letterPending = false;
    char pendingLetter = 0;
    int tapPhase = 0;
    int tapTicks = 0;
    int tickCount = 0;       // clock ticks modulo 10
    int collectedCount = 0;  // forms completed since start-up
    int menuTop = 0;         // first option shown when a menu has more options than rows
    LineEntry lines[kLinesPerForm];
};

// Recomputes every menu's optionCount and every form's lastInputLine in the template, and empties the
// prompt and lookupField of lines of type 0 and 8.
void PrepareTemplateDerivedFields(ApplicationTemplate& t);
// Gives continuation lines the maxLength left over from the input line they continue, and clears the
// fields that make no sense on a continuation line.
void DeriveContinuationLengths(ApplicationTemplate& t);

// The terminal, running on a template that the caller owns. Derived and run-state fields are written
// into that template.
class TerminalSimulator {
  public:
    TerminalSimulator(ApplicationTemplate& t, LocalClock& clock, SimView* view = nullptr);

    // nullptr draws nothing.
    void SetView(SimView* view);

    // The main menu with row 1 highlighted and a full repaint, as when the window is created.
    void Start();
    // One key code: 1..20 from the keypad, or kRestartCode. Other codes are ignored.
    void DispatchKey(int code);
    // After the editor applies changes, just before kRestartCode.
    void UpdateAfterEdit();
    // The 100 ms clock: status line in the main menu, and the end of multi-tap letter entry.
    void Tick();
    // The status line for the current tick count and the clock's time.
    std::string StatusText() const;

    // Firmware screens.
    void ShowMainMenu(bool fullRepaint);
    void ShowSystemTools();
    void ShowSystemSettings();
    void ShowUploadWait();
    void ShowMessage(int n);  // 1 wrong type, 2 too short

    // Runtime: menus and forms.
    void GoToTarget(int code, bool byEsc);
    void EnterMenu(int code);
    void ShowMenu(int code);
    void StartForm(int n);
    void ShowForm(int n);
    void MenuKey(int key);
    void FormKey(int key);
    void InsertChar(char c);
    void Backspace();
    void TapLetter(int key);
    void CommitPendingLetter();
    int PreviousInputLine(int cur) const;
    int NextInputLine(int cur) const;
    static bool CheckCharType(char c, int lineType);
    void RepaintCursorRow();

    // The alpha key's switch; the window flips it (only while a form takes input).
    void SetAlphaMode(bool on) { run_.alphaMode = on; }

    const SimScreen& screen() const { return screen_; }
    const EngineState& engineState() const { return eng_; }
    const RuntimeState& runtimeState() const { return run_; }
    SimState simState() const { return eng_.simState; }
    ApplicationTemplate& tmpl() { return t_; }
    const ApplicationTemplate& tmpl() const { return t_; }

  private:
    void MainMenuKey(int key);
    void SystemToolsKey(int key);
    void SystemSettingsKey(int key);
    void RunApplication();
    void SetRow(int r, std::string_view text);
    void BuildFormRow(int line);
    void Invalidate(const SimRect& r);
    FormRecord* ActiveForm();
    int CurrentLine();
    int LastInputLine(const FormRecord& f) const;

    ApplicationTemplate& t_;
    LocalClock& clock_;
    SimView* view_;
    SimScreen screen_;
    EngineState eng_;
    RuntimeState run_;
};

}  // namespace k52
