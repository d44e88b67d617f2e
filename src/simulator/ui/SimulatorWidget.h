// The terminal on the desktop: draws the case, keys and display from the engine's state, turns clicks on
// the painted keys into key presses, drags the whole window by the case, and opens the command menu.
#pragma once

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "app/UserInterface.h"
#include "simulator/KeyScript.h"
#include "simulator/Keypad.h"
#include "simulator/LocalClock.h"
#include "simulator/PcKeyboard.h"
#include "simulator/TerminalSimulator.h"

class QLabel;
class QMenu;

namespace k52 {

class DragOutline;

// The images 500..545 of the terminal picture from the program's resources, each decoded once, when
// first asked for.
const QPixmap& TerminalImage(int id);

// The images every first picture draws (the case and the keys released), decoded without a widget, so
// that a worker thread may decode them.
std::vector<std::pair<int, QImage>> DecodeFirstPictureImages();
// Starts decoding them on a worker thread, for TerminalImage to take when it is first asked. Call it
// once the application object exists: Qt's image plugins are not to be looked up before.
void PrefetchFirstPictureImages();

// The display font: a CJK-capable fixed-pitch face, one byte column 6 pixels wide.
QFont DisplayFont();

class SimulatorWidget : public QWidget, private SimView {
    Q_OBJECT
  public:
    // The engine runs on `tmpl`, which the caller owns; `clock` (nullptr: the host's local time) gives
    // the status line its date and time. The engine shows its main menu at once.
    SimulatorWidget(ApplicationTemplate& tmpl, MessageBoxes& messages, QWidget* parent = nullptr,
                    LocalClock* clock = nullptr);
    ~SimulatorWidget() override;

    TerminalSimulator& simulator() { return *sim_; }
    const KeypadController& keypad() const { return *keypad_; }
    bool dragging() const { return dragging_; }
    QWidget* dragOutline() const;

    // The menu the power key and the right button open; its actions carry command ids as data.
    void setCommandMenu(QMenu* menu) { commandMenu_ = menu; }
    QMenu* commandMenu() const { return commandMenu_; }
    // The point (global) where the command menu was last opened.
    QPoint lastMenuPoint() const { return lastMenuPoint_; }

    // The editor applied changes: recompute from the template and restart at the main menu.
    void RestartAfterEdit();

    // Draws the 180 x 400 picture at `percent` (nearest-neighbour artwork, text at the scaled size);
    // clicks are mapped back, so keys, dragging and the menu work the same at every zoom.
    void setZoom(int percent);
    int zoom() const { return zoom_; }

    // A barcode into the current form line as one scan, then Enter (a paste, the scan command).
    ScanResult Scan(const QString& text);
    // Starts the terminal afresh, as `k52cli simulate` starts it, and records every key and tick.
    void StartRecording();
    // The recorded keys as a key script; recording ends.
    std::string StopRecording();
    bool recording() const { return keypad_->recorder() != nullptr; }
    // The keyboard's keys drawn over the terminal (F1 shows and hides them).
    bool keyHelpShown() const;

  signals:
    // A command for the main window: chosen in the command menu or posted by the engine. Always
    // delivered later, from the event loop, as a posted command would be.
    void commandRequested(int commandId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    // Tab is the alpha key here, not a move to another widget.
    bool focusNextPrevChild(bool) override { return false; }

  private:
    // SimView
    void InvalidateRect(const SimRect& r) override;
    void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    void PostCommand(int commandId) override;
    void DrawPendingLetter(int row, int col, char letter) override;
    void ReleaseKeyPress() override;
    void DrawStatusLine(std::string_view text) override;
    void DrawAlphaIndicator(bool on) override;
    void DrawKey(int key, bool pressed) override;
    void OpenCommandMenu(int x, int y) override;

    void OpenMenuAt(QPoint global);
    void DrawRowText(QPainter& p, int row, int y, const QColor& color);
    void Post(int commandId);
    QRect KeyRect(int key) const;
    // The widget's pixels that logical rectangle `r` covers, rounded outwards.
    QRect ToWidget(const QRect& r) const;
    void UpdateLogical(int x, int y, int w, int h);
    void PlaceKeyHelp();

    std::unique_ptr<LocalClock> ownClock_;
    std::unique_ptr<TerminalSimulator> sim_;
    std::unique_ptr<KeypadController> keypad_;
    std::unique_ptr<PcKeyboard> pc_;
    KeyScriptRecorder recorder_;
    int heldPcKey_ = 0;  // the Qt key whose terminal key is shown down
    QLabel* keyHelp_ = nullptr;
    MessageBoxes& messages_;
    QTimer clockTimer_;
    QFont font_;
    int zoom_ = 100;
    int fontBaseline_ = 0;
    QMenu* commandMenu_ = nullptr;
    QPoint lastMenuPoint_;

    std::array<bool, kKeyCount + 1> keyShownPressed_{};
    bool pendingShown_ = false;
    int pendingRow_ = 0, pendingCol_ = 0;
    char pendingLetter_ = 0;

    bool pressedOnKey_ = false;
    bool dragging_ = false;
    QRect startRect_, frameRect_;
    QPoint dragStart_;  // global
    std::unique_ptr<DragOutline> outline_;
};

}  // namespace k52
