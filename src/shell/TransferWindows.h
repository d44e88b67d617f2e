// What a transfer shows on the desktop: the progress window of a download, the receive status box, the
// waiting window, and the observer that puts them and the message boxes together on the GUI thread.
// Each of the three windows offers to stop the transfer.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/DeskTransfer.h"
#include "app/TransferPresenter.h"
#include "template/Template.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace k52 {

// "下載程式" with "下載中..." and a bar 0..100: a window of its own, centred on the screen. Its cancel
// button, Esc and closing it ask the transfer to stop; the window goes when the transfer ends.
class ProgressDialog : public QWidget {
    Q_OBJECT
  public:
    ProgressDialog(const QString& title, const QString& text);
    QProgressBar* bar() const { return bar_; }
    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancel_; }

  signals:
    void cancelRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

// A small topmost box at the centre of the screen: pale yellow, black outline, "Data received : %d".
// Its width is fixed by the text with a count of 0, so it is the same in every command. A click on it
// asks the receive to stop (what was acknowledged is kept).
class ReceiveStatusBox : public QWidget {
    Q_OBJECT
  public:
    ReceiveStatusBox();
    void SetCount(int count);
    int count() const { return count_; }
    QString text() const;

  signals:
    void cancelRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int count_ = 0;
};

// "等待終端機回應… DEVICE" with a busy bar: what a transfer waits for until its progress window or
// status box takes over, so that a silent terminal does not leave the program looking frozen.
class WaitingWindow : public QWidget {
    Q_OBJECT
  public:
    explicit WaitingWindow(const QString& device);
    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancel_; }

  signals:
    void cancelRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;  // asks to stop; it goes when the transfer ends
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* label_;
    QPushButton* cancel_;
};

// The desktop's open and save dialogs, and the program's own viewer for received data, which splits
// the records at `separators` (the template's, read when the viewer opens; nullptr: the comma).
class QtTransferFiles : public TransferChoices {
  public:
    QtTransferFiles(MessageBoxes& messages, QWidget* owner, const FieldSeparators* separators = nullptr)
        : messages_(messages), owner_(owner), separators_(separators) {}
    std::optional<std::string> ChooseLookupFile(const std::string& previous) override;
    std::optional<int> ChooseLookupNumber(const std::vector<int>& defined,
                                          const ApplicationTemplate& tmpl) override;
    std::optional<std::string> ChooseDataFile() override;
    void OpenForViewing(const std::string& path) override;

  private:
    MessageBoxes& messages_;
    QWidget* owner_;
    const FieldSeparators* separators_;
};

// What a transfer shows on the GUI thread: the windows the presenter asks for, and its boxes (each sets
// the waiting window aside while it is up).
class QtTransferUi : public TransferDisplay, public MessageBoxes {
  public:
    QtTransferUi(MessageBoxes& messages, QWidget* owner);
    ~QtTransferUi() override;

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override;
    void BeginProgress(std::string_view title, std::string_view text) override;
    void SetProgress(int percent) override;
    void EndProgress() override;
    void BeginReceiveStatus() override;
    void UpdateReceiveStatus(int count) override;
    void EndReceiveStatus() override;
    // The waiting window and the busy cursor, while nothing else is up.
    void ShowWaiting() override;

    ProgressDialog* progress() const { return progress_.get(); }
    ReceiveStatusBox* statusBox() const { return status_.get(); }
    WaitingWindow* waitingWindow() const { return waiting_.get(); }

    // A transfer on `device` begins: while it waits with neither the progress window nor the status
    // box up, the waiting window and a busy cursor show. Message boxes and file dialogs set both aside.
    // `onCancel` is called when the person asks, in any of the windows, to stop it.
    void BeginTransfer(const QString& device, std::function<void()> onCancel = {});
    void EndTransfer();

  private:
    // Sets the waiting window and the busy cursor aside while the user is asked something.
    void SetWaitingAside();
    bool ReportShowing() const;
    void Cancel();
    MessageBoxes& messages_;
    std::unique_ptr<ProgressDialog> progress_;
    std::unique_ptr<ReceiveStatusBox> status_;
    std::unique_ptr<WaitingWindow> waiting_;
    std::optional<QString> transferDevice_;
    std::function<void()> onCancel_;
    bool busyCursor_ = false;
    int boxesUp_ = 0;
};

}  // namespace k52
