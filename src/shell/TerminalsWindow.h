// The Terminals window: every terminal in its cradle as a row, and the same transfer to the checked ones
// at once, each on its own worker thread with its own line, reporting to its row.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ShiftExport.h"
#include "app/TerminalRack.h"
#include "station/StationRunner.h"
#include "template/Template.h"

class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace k52 {

class MessageBoxes;
class TransferChoices;
class TerminalsModel;
class Worker;

struct TerminalsServices {
    MessageBoxes* messages = nullptr;  // the question before files are replaced
    TransferChoices* files = nullptr;  // the lookup file, and the viewer of received data
    PortScanner* scanner = nullptr;    // nullptr: the host's ports
    // The receive folder, starting at the one chosen last; empty function: the folder dialog.
    std::function<std::optional<std::string>(const std::string& previous)> chooseFolder;
    // The line and clock a row's transfers and collecting run on; empty function: the system's line
    // to the device, on the monotonic clock.
    std::function<PortLine(const std::string& device)> lines;
    // Where port locks are taken (the first) and looked for; empty: the system's, as k52cli's.
    std::vector<std::string> lockDirs;
};

class TerminalsWindow : public QWidget {
    Q_OBJECT
  public:
    // The transfers send a copy of `tmpl` as it is when they start.
    TerminalsWindow(const ApplicationTemplate& tmpl, const TerminalsServices& services, QWidget* parent);
    // Stops every transfer at its next safe point and waits for them.
    ~TerminalsWindow() override;

    TerminalRack& rack() { return rack_; }
    QTableView* table() const { return table_; }
    TerminalsModel* model() const { return model_; }
    QPushButton* downloadButton() const { return download_; }
    QPushButton* lookupButton() const { return lookup_; }
    QPushButton* receiveButton() const { return receive_; }
    QPushButton* retryButton() const { return retry_; }
    QPushButton* collectButton() const { return collect_; }
    QPushButton* exportButton() const { return export_; }
    QLabel* summaryLabel() const { return summary_; }
    // The hint an empty table shows.
    QLabel* emptyHint() const { return empty_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* cancelAllButton() const { return cancelAll_; }

    void CheckAll();
    void SetChecked(std::size_t row, bool checked);
    // A finished receive's records, in the viewer (a double click on its row does the same).
    void OpenRecords(std::size_t row);
    // Looks at the host's ports again on a worker; nothing happens while a look is under way.
    void Rescan();
    bool running() const { return !jobs_.empty(); }
    // Whether the collection station serves any row (or is still stopping).
    bool collecting() const { return collecting_ != nullptr; }

    void DownloadProgram();
    void DownloadLookup();
    void ReceiveData();
    void RetryFailed();
    void CancelSelected();
    void CancelAll();
    // The collection station for the checked rows into a folder chosen then, until stopped: each row
    // waits for its terminal's upload, again and again, as `k52cli collect` does.
    void StartCollecting();
    // Each upload under way stops at a record boundary and keeps what was acknowledged.
    void StopCollecting();
    // Writes the adapter's row as COM `comPort`'s device into the user's ports.conf, as the ports dialog
    // does, and looks again; false (after saying why) when it could not be written.
    bool AssignRow(std::size_t row, int comPort);
    // The shift's records as one file, as `k52cli export` writes it: asked in a dialog, or as given.
    void ChooseExportShift();
    void ExportShift(const ShiftExportRequest& request);

  signals:
    // The last transfer running has ended.
    void allEnded();
    // The collection station has stopped on every row.
    void collectingEnded();
    // An export has ended and said how.
    void exportEnded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class RowBoard;
    struct Collecting;

    std::vector<std::size_t> CheckedRows() const;
    void Launch(std::size_t row, const std::optional<TerminalJob>& job);
    void ApplyScan(const RackScan& scan);
    // Which ports another station serves: read from its locks and status file off the GUI thread.
    using ServedMap = std::map<std::string, std::optional<ServedPort>>;
    ServiceLook LookForServices() const;
    static ServedMap FindServed(const RackScan& scan, std::vector<std::string> devices,
                                const ServiceLook& look);
    void ApplyServed(const ServedMap& served);
    void RowMessage(std::size_t row, const std::string& line);
    void RowProgress(std::size_t row, const TransferProgress& progress);
    void RowFinished(std::size_t row, const JobResult& result);
    void ShowRow(std::size_t row);
    void ShowSummary();
    std::optional<std::string> ChooseFolder(const QString& key, const std::string& fallback,
                                            const QString& title);
    void RowCollected(std::size_t row, const CollectEvent& event);
    void CollectorEnded(std::size_t row);
    void CloseIfStopped();
    void RowMenu(const QPoint& at);
    void ChooseComPortFor(std::size_t row);
    void ExportEnded(const ShiftExportRequest& request, const ShiftExportResult& result);

    const ApplicationTemplate& tmpl_;
    TerminalsServices services_;
    std::unique_ptr<PortScanner> ownScanner_;
    TerminalRack rack_;
    Worker* worker_;
    std::map<std::size_t, int> jobs_;  // the worker's job for each row running one
    std::unique_ptr<Collecting> collecting_;
    bool scanning_ = false;
    bool closeWhenEnded_ = false;
    std::string lookupFile_;
    TerminalsModel* model_;
    QTableView* table_;
    QPushButton *download_, *lookup_, *receive_, *retry_, *collect_, *export_, *cancel_, *cancelAll_;
    QLabel* summary_;
    QLabel* empty_;
    QTimer* rescanTimer_;
};

}  // namespace k52
