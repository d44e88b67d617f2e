// What a transfer shows on the desktop: the progress window of a download, the receive status box, and
// the TransferUi that puts them, the message boxes and the file dialogs together. While a transfer
// waits the windows keep painting; user input stays blocked until it ends.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/TransferUi.h"
#include "template/Template.h"

class QLabel;
class QProgressBar;

namespace k52 {

// "下載程式" with "下載中..." and a bar 0..100: a window of its own, centred on the screen.
class ProgressDlg : public QWidget {
    Q_OBJECT
  public:
    ProgressDlg(const QString& title, const QString& text);
    QProgressBar* bar() const { return bar_; }
    QLabel* label() const { return label_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // it goes when the transfer ends

  private:
    QLabel* label_;
    QProgressBar* bar_;
};

// A small topmost box at the centre of the screen: pale yellow, black outline, "Data received : %d".
// Its width is fixed by the text with a count of 0, so it is the same in every command.
class ReceiveStatusBox : public QWidget {
    Q_OBJECT
  public:
    ReceiveStatusBox();
    void SetCount(int count);
    int count() const { return count_; }
    QString text() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

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

  protected:
    void closeEvent(QCloseEvent* event) override;  // it goes when the transfer ends

  private:
    QLabel* label_;
};

// The file choices of the transfers and the viewer for received data; tests put their own in place.
class TransferFiles {
  public:
    virtual ~TransferFiles() = default;
    virtual std::optional<std::string> ChooseLookupFile(const std::string& previous) = 0;
    virtual std::optional<std::string> ChooseDataFile() = 0;
    virtual void OpenForViewing(const std::string& path) = 0;
};

// The desktop's open and save dialogs, and the program's own viewer for received data, which splits
// the records at `separators` (the template's, read when the viewer opens; nullptr: the comma).
class QtTransferFiles : public TransferFiles {
  public:
    QtTransferFiles(MessageBoxes& messages, QWidget* owner, const FieldSeparators* separators = nullptr)
        : messages_(messages), owner_(owner), separators_(separators) {}
    std::optional<std::string> ChooseLookupFile(const std::string& previous) override;
    std::optional<std::string> ChooseDataFile() override;
    void OpenForViewing(const std::string& path) override;

  private:
    MessageBoxes& messages_;
    QWidget* owner_;
    const FieldSeparators* separators_;
};

class QtTransferUi : public TransferUi {
  public:
    // Messages go to `messages` and file choices to `files` (nullptr: the desktop's dialogs and viewer,
    // which splits records at `separators`), so that a test can answer them.
    QtTransferUi(MessageBoxes& messages, QWidget* owner, TransferFiles* files = nullptr,
                 const FieldSeparators* separators = nullptr);
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
    std::optional<std::string> ChooseLookupFile(const std::string& previous) override;
    std::optional<std::string> ChooseDataFile() override;
    void OpenForViewing(const std::string& path) override;
    void Idle() override;

    ProgressDlg* progress() const { return progress_.get(); }
    ReceiveStatusBox* statusBox() const { return status_.get(); }
    WaitingWindow* waitingWindow() const { return waiting_.get(); }

    // A transfer on `device` begins: while it waits with neither the progress window nor the status
    // box up, the waiting window and a busy cursor show. Message boxes and file dialogs set both aside.
    void BeginTransfer(const QString& device);
    void EndTransfer();

  private:
    // Sets the waiting window and the busy cursor aside while the user is asked something.
    void SetWaitingAside();
    bool ReportShowing() const;
    MessageBoxes& messages_;
    std::unique_ptr<TransferFiles> ownFiles_;
    TransferFiles* files_;
    std::unique_ptr<ProgressDlg> progress_;
    std::unique_ptr<ReceiveStatusBox> status_;
    std::unique_ptr<WaitingWindow> waiting_;
    std::optional<QString> transferDevice_;
    bool busyCursor_ = false;
};

}  // namespace k52
