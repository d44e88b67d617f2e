// The Terminals window: the rack's rows as a table, its buttons, the rescan timer and a worker per job.
#include "shell/TerminalsWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>

#include "app/DeskTransfer.h"
#include "app/ProgressThrottle.h"
#include "app/UserInterface.h"
#include "i18n/Translate.h"
#include "line/Clock.h"
#include "line/SerialLine.h"
#include "shell/DeskSettings.h"
#include "shell/QtDialogs.h"
#include "shell/TerminalsCollecting.h"
#include "shell/TerminalsModel.h"
#include "shell/Worker.h"

namespace k52 {
namespace {

constexpr int kRescanMs = 2000;
QString CradleKey(const std::string& device) {
    return QStringLiteral("terminals/cradle/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(device), QByteArray(), "/"));
}

const QString kFolderKey = QStringLiteral("terminals/receiveFolder");

// The window's clock for bytes per second.
std::int64_t NowMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

// A folder dialog that takes the name of a folder not there yet, and makes it, as k52cli does.
class NewFolderDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

  protected:
    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && !QFileInfo::exists(chosen.front())) QDir().mkpath(chosen.front());
        QFileDialog::accept();
    }
};

}  // namespace

// On the job's worker: passes what the job says to the window's thread without waiting for it.
class TerminalsWindow::RowBoard : public JobBoard {
  public:
    RowBoard(TerminalsWindow* window, std::size_t row) : window_(window), row_(row) {}
    void Message(const std::string& line) override {
        PostTo(window_, [w = window_, row = row_, line] { w->RowMessage(row, line); });
    }
    void Progress(const TransferProgress& p) override {
        if (!throttle_.Due(p, NowMs())) return;
        PostTo(window_, [w = window_, row = row_, p] { w->RowProgress(row, p); });
    }

  private:
    TerminalsWindow* window_;
    std::size_t row_;
    ProgressThrottle throttle_{kProgressEveryMs};
};

TerminalsWindow::TerminalsWindow(const ApplicationTemplate& tmpl, const TerminalsServices& services,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), tmpl_(tmpl), services_(services) {
    setWindowTitle(tr("終端機"));
    if (!services_.scanner) {
        ownScanner_ = std::make_unique<SystemPortScanner>();
        services_.scanner = ownScanner_.get();
    }
    if (!services_.lines)
        services_.lines = [](const std::string& device) {
            CollectPort port;
            port.device = device;
            return SystemPortLine(port, false);
        };
    worker_ = new Worker(this);
    rack_.rememberedCradle = [](const std::string& device) {
        return DeskSettings().value(CradleKey(device), false).toBool();
    };

    model_ = new TerminalsModel(rack_, this);
    model_->cradleChanged = [this](std::size_t row, bool on) {
        DeskSettings().setValue(CradleKey(rack_.rows()[row].device), on);
    };
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setItemDelegateForColumn(TerminalsModel::kState, new StateBarDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setMinimumSectionSize(60);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QTableView::customContextMenuRequested, this, &TerminalsWindow::RowMenu);
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenRecords(static_cast<std::size_t>(index.row())); });

    download_ = new QPushButton(tr("下載程式(&D)"), this);
    lookup_ = new QPushButton(tr("下載索引檔(&L)"), this);
    receive_ = new QPushButton(tr("接收資料(&R)"), this);
    retry_ = new QPushButton(tr("重試(&T)"), this);
    collect_ = new QPushButton(tr("自動收集(&C)"), this);
    collect_->setCheckable(true);
    export_ = new QPushButton(tr("匯出班次(&E)..."), this);
    cancel_ = new QPushButton(tr("取消(&N)"), this);
    cancelAll_ = new QPushButton(tr("全部取消(&A)"), this);
    connect(download_, &QPushButton::clicked, this, &TerminalsWindow::DownloadProgram);
    connect(lookup_, &QPushButton::clicked, this, &TerminalsWindow::DownloadLookup);
    connect(receive_, &QPushButton::clicked, this, &TerminalsWindow::ReceiveData);
    connect(retry_, &QPushButton::clicked, this, &TerminalsWindow::RetryFailed);
    connect(collect_, &QPushButton::clicked, this,
            [this](bool on) { on ? StartCollecting() : StopCollecting(); });
    connect(export_, &QPushButton::clicked, this, &TerminalsWindow::ChooseExportShift);
    connect(cancel_, &QPushButton::clicked, this, &TerminalsWindow::CancelSelected);
    connect(cancelAll_, &QPushButton::clicked, this, &TerminalsWindow::CancelAll);
    summary_ = new QLabel(this);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {download_, lookup_, receive_, retry_, collect_, export_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(cancelAll_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addLayout(buttons);

    // The table's own Ctrl+A would select rows; here it checks them, wherever the focus is.
    table_->installEventFilter(this);
    auto* all = new QShortcut(QKeySequence::SelectAll, this);
    connect(all, &QShortcut::activated, this, &TerminalsWindow::CheckAll);

    // An empty table says what makes a row.
    empty_ = new QLabel(
        tr("沒有找到終端機: 請插上傳輸線或傳輸座的轉接器, 或在傳輸埠設定中為 COM1..COM6 指定裝置."),
        table_->viewport());
    empty_->setWordWrap(true);
    empty_->setAlignment(Qt::AlignCenter);
    auto* emptyLayout = new QVBoxLayout(table_->viewport());
    emptyLayout->addWidget(empty_);

    // The first look is made at once, so the window opens with its rows.
    const RackScan scan = ScanRack(*services_.scanner);
    ApplyScan(scan);
    ApplyServed(FindServed(scan, {}, LookForServices()));
    ShowSummary();
    rescanTimer_ = new QTimer(this);
    connect(rescanTimer_, &QTimer::timeout, this, &TerminalsWindow::Rescan);
    rescanTimer_->start(kRescanMs);
    resize(980, 320);
}

TerminalsWindow::~TerminalsWindow() {
    rack_.CancelAll();
    if (collecting_) collecting_->stop.store(true);
    // Every job ends at its next safe point; the scan is short.
    worker_->Join();
    collecting_.reset();
}

bool TerminalsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Left unclaimed by the table, the key reaches the window's shortcut.
    if (watched == table_ && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TerminalsWindow::closeEvent(QCloseEvent* event) {
    if (!running() && !collecting()) return QWidget::closeEvent(event);
    // Each transfer ends at its next safe point (a receive keeps what was acknowledged); then it closes.
    closeWhenEnded_ = true;
    rack_.CancelAll();
    StopCollecting();
    event->ignore();
}

void TerminalsWindow::CloseIfStopped() {
    if (!closeWhenEnded_ || running() || collecting()) return;
    closeWhenEnded_ = false;
    close();
}

void TerminalsWindow::Rescan() {
    if (scanning_) return;
    scanning_ = true;
    PortScanner* scanner = services_.scanner;
    auto scan = std::make_shared<RackScan>();
    auto served = std::make_shared<ServedMap>();
    std::vector<std::string> devices;
    for (const RackRow& r : rack_.rows()) devices.push_back(r.device);
    worker_->Run(
        [scanner, scan, served, devices = std::move(devices), look = LookForServices()]() mutable {
            *scan = ScanRack(*scanner);
            *served = FindServed(*scan, std::move(devices), look);
        },
        [this, scan, served] {
            scanning_ = false;
            ApplyScan(*scan);
            ApplyServed(*served);
        });
}

void TerminalsWindow::ApplyScan(const RackScan& scan) {
    const bool changed = rack_.Update(scan);
    empty_->setVisible(rack_.rows().empty());
    if (!changed) return;
    model_->RackChanged();
    for (int c = TerminalsModel::kName; c < TerminalsModel::kResult; ++c) table_->resizeColumnToContents(c);
    table_->setColumnWidth(TerminalsModel::kState,
                           std::max(table_->columnWidth(TerminalsModel::kState), 160));
    ShowSummary();
}

void TerminalsWindow::ShowRow(std::size_t i) {
    // Once every transfer has ended, a receive's row names its records.
    model_->setShowFiles(!rack_.AnyRunning());
    model_->RowChanged(i);
}

void TerminalsWindow::ShowSummary() {
    const RackSummary s = rack_.Summary();
    QString text = tr("完成 %1, 失敗 %2, 執行中 %3, 收集中 %4")
                       .arg(s.done)
                       .arg(s.failed)
                       .arg(s.running)
                       .arg(s.collecting);
    if (s.served > 0) text += tr(", 由收集站服務 %1").arg(s.served);
    summary_->setText(text);
    retry_->setEnabled(s.failed > 0);
    cancel_->setEnabled(s.running > 0);
    cancelAll_->setEnabled(s.running > 0);
}

void TerminalsWindow::CheckAll() {
    for (std::size_t i = 0; i < rack_.rows().size(); ++i) SetChecked(i, true);
}

void TerminalsWindow::SetChecked(std::size_t row, bool checked) {
    model_->SetChecked(row, checked);
}

std::vector<std::size_t> TerminalsWindow::CheckedRows() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < rack_.rows().size(); ++i)
        if (model_->checked(i)) rows.push_back(i);
    return rows;
}

void TerminalsWindow::OpenRecords(std::size_t row) {
    if (row >= rack_.rows().size() || rack_.AnyRunning()) return;
    const std::string& file = rack_.rows()[row].file;
    if (!file.empty() && services_.files) services_.files->OpenForViewing(file);
}

void TerminalsWindow::DownloadProgram() {
    for (std::size_t row : CheckedRows()) Launch(row, rack_.Start(row, JobKind::Program, "", false, NowMs()));
}

void TerminalsWindow::DownloadLookup() {
    const std::vector<std::size_t> rows = CheckedRows();
    if (rows.empty() || !services_.files) return;
    const std::optional<std::string> file = services_.files->ChooseLookupFile(lookupFile_);
    if (!file) return;
    lookupFile_ = *file;
    for (std::size_t row : rows) Launch(row, rack_.Start(row, JobKind::Lookup, *file, false, NowMs()));
}

void TerminalsWindow::ReceiveData() {
    std::vector<std::size_t> rows = CheckedRows();
    std::erase_if(rows, [this](std::size_t i) { return rack_.rows()[i].state == RowState::Running; });
    if (rows.empty()) return;
    const std::optional<std::string> folder = ChooseFolder(
        kFolderKey, QFile::encodeName(QDir::homePath() + QStringLiteral("/K52/received")).toStdString(),
        tr("接收資料"));
    if (!folder) return;
    // A folder typed by hand, or chosen by a test, is made as k52cli makes it.
    QDir().mkpath(QFile::decodeName(folder->c_str()));

    const ReceivePlan plan = rack_.PlanReceive(*folder, rows);
    if (!plan.collision.empty()) {
        services_.messages->ShowMessage(
            Substitute(tr("兩台終端機的資料會存入同一個檔案: %1").toStdString(), {plan.collision}),
            tr("接收資料").toStdString(), MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    bool replace = false;
    if (!plan.existing.empty()) {
        std::string list;
        for (const std::string& f : plan.existing) list += "\n" + f;
        const std::string question =
            Substitute(tr("下列檔案已經存在:%1\n要取代它們嗎??").toStdString(), {list});
        if (services_.messages->ShowMessage(question, tr("接收資料").toStdString(), MessageIcon::Question,
                                            MessageButtons::YesNo) != MessageAnswer::Yes)
            return;
        replace = true;
    }
    for (std::size_t k = 0; k < rows.size(); ++k)
        Launch(rows[k], rack_.Start(rows[k], JobKind::Receive, plan.files[k], replace, NowMs()));
}

std::optional<std::string> TerminalsWindow::ChooseFolder(const QString& key, const std::string& fallback,
                                                         const QString& title) {
    std::string previous = QFile::encodeName(DeskSettings().value(key).toString()).toStdString();
    if (previous.empty()) previous = fallback;
    // The folder offered is there to be chosen, rather than refused as not found.
    if (!previous.empty()) QDir().mkpath(QFile::decodeName(previous.c_str()));
    std::optional<std::string> folder;
    if (services_.chooseFolder) {
        folder = services_.chooseFolder(previous);
    } else {
        NewFolderDialog dialog(this, title, QFile::decodeName(previous.c_str()));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            folder = QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    }
    if (folder) DeskSettings().setValue(key, QFile::decodeName(folder->c_str()));
    return folder;
}

void TerminalsWindow::RetryFailed() {
    for (std::size_t row : rack_.FailedRows()) Launch(row, rack_.Retry(row, NowMs()));
}

void TerminalsWindow::CancelSelected() {
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rack_.Cancel(static_cast<std::size_t>(index.row()));
}

void TerminalsWindow::CancelAll() {
    rack_.CancelAll();
}

void TerminalsWindow::Launch(std::size_t row, const std::optional<TerminalJob>& job) {
    if (!job) return;
    const RackRow& r = rack_.rows()[row];
    // The template as it is now: editing it meanwhile changes nothing already under way.
    ApplicationTemplate t = tmpl_;
    if (r.comPort) t.portSettings.comPort = static_cast<u8>(*r.comPort);
    auto result = std::make_shared<JobResult>();
    PortLine line = services_.lines(r.device);
    jobs_[row] = worker_->Run(
        [this, row, job = *job, t, result, line = std::make_shared<PortLine>(std::move(line))]() mutable {
            RowBoard board(this, row);
            *result = RunTerminalJob(job, std::move(t), *line->lines, *line->clock, board);
            if (auto* system = dynamic_cast<SystemLineFactory*>(line->lines.get()))
                for (const std::string& warning : system->TakeWarnings())
                    result->notes.push_back(LocalizeFinished(warning));
        },
        [this, row, result] { RowFinished(row, *result); });
    ShowRow(row);
    ShowSummary();
}

void TerminalsWindow::RowMessage(std::size_t row, const std::string& line) {
    // The row shows what its terminal's transfer says now, in place of a message box.
    rack_.Said(row, line);
    ShowRow(row);
}

void TerminalsWindow::RowProgress(std::size_t row, const TransferProgress& progress) {
    rack_.Progress(row, progress, NowMs());
    ShowRow(row);
}

void TerminalsWindow::RowFinished(std::size_t row, const JobResult& result) {
    rack_.Finish(row, result);
    jobs_.erase(row);
    ShowRow(row);
    ShowSummary();
    if (running()) return;
    for (std::size_t i = 0; i < rack_.rows().size(); ++i) ShowRow(i);
    emit allEnded();
    CloseIfStopped();
}

}  // namespace k52
