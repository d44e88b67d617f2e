// The simulated terminal's engine: the firmware's own screens and the runtime that runs the template's
// menus and forms. No window here: whatever draws the terminal implements SimView.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "simulator/Keys.h"
#include "simulator/LineEditor.h"
#include "simulator/LocalClock.h"
#include "simulator/SimView.h"
#include "template/Template.h"

namespace k52 {

// The shell command the simulator posts when there is nothing to run ("New").
constexpr int kNewCommand = 1010;

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
    // Forgets the run (counts, alpha mode, the clock's phase) as a terminal just switched on would; the
    // screen is left for the caller's restart to redraw.
    void ResetRun();
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
    LineEditor EditorOfLine(FormRecord& f, int line);
    void ApplyLineEdit(FormRecord& f, int line, LineEdit edit);

    ApplicationTemplate& t_;
    LocalClock& clock_;
    SimView* view_;
    SimScreen screen_;
    EngineState eng_;
    RuntimeState run_;
};

}  // namespace k52
