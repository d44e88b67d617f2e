// The Terminals window's "Collect Automatically": the collection station k52cli runs, for the checked
// rows, each on a thread of its own, into a folder chosen then.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QSysInfo>
#include <filesystem>

#include "app/TransferWording.h"
#include "app/UserInterface.h"
#include "i18n/Translate.h"
#include "shell/TerminalsCollecting.h"
#include "shell/Worker.h"

namespace k52 {
namespace {

const QString kCollectFolderKey = QStringLiteral("terminals/collectFolder");
// As `k52cli collect`'s default: a terminal that did not answer is asked again after this long.
constexpr std::int64_t kCollectIntervalMs = 5000;

}  // namespace

TerminalsWindow::Collecting::Collecting(TerminalsWindow* w, std::string folder, Ledger l, LineMaker lines)
    : window(w),
      ledger(std::move(l)),
      station(
          std::move(folder), kCollectIntervalMs, stop, ledger, *this, [] { return std::time(nullptr); },
          [](const Notice& n) { return WordNotice(n).text; }),
      runner(station, stop, std::move(lines)) {}

TerminalsWindow::Collecting::~Collecting() {
    stop.store(true);
    runner.Join();
}

void TerminalsWindow::Collecting::OnEvent(const CollectEvent& event) {
    // Rows that a stopped station left behind in the folder name no device of ours.
    const auto it = rows.find(event.device);
    if (it == rows.end()) return;
    PostTo(window, [w = window, row = it->second, event] { w->RowCollected(row, event); });
}

void TerminalsWindow::Collecting::OnProgress(const std::string& device, const TransferProgress& p) {
    const auto it = rows.find(device);
    if (it == rows.end()) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count();
        if (!lastProgress.try_emplace(device, kProgressEveryMs).first->second.Due(now)) return;
    }
    PostTo(window, [w = window, row = it->second, p] {
        w->rack_.CollectProgress(row, p);
        w->ShowRow(row);
    });
}

void TerminalsWindow::StartCollecting() {
    std::vector<std::size_t> rows = CheckedRows();
    std::erase_if(rows, [this](std::size_t i) {
        return rack_.rows()[i].state == RowState::Running || rack_.rows()[i].collecting;
    });
    std::optional<std::string> folder;
    if (!collecting_ && !rows.empty())
        folder =
            ChooseFolder(kCollectFolderKey,
                         QFile::encodeName(QDir::homePath() + QStringLiteral("/K52/collected")).toStdString(),
                         tr("自動收集"));
    std::optional<Ledger> ledger;
    if (folder) {
        std::string reason;
        std::error_code error;
        std::filesystem::create_directories(*folder, error);
        if (error) reason = *folder + ": " + error.message();
        if (!error) ledger = Ledger::Open(*folder, &reason);
        if (!ledger)
            services_.messages->ShowMessage(
                Substitute(tr("無法在 %1 自動收集: %2").toStdString(), {*folder, reason}),
                tr("自動收集").toStdString(), MessageIcon::Exclamation, MessageButtons::Ok);
    }
    if (!ledger) {
        collect_->setChecked(collecting());
        return;
    }

    collecting_ = std::make_unique<Collecting>(
        this, *folder, std::move(*ledger),
        [lines = services_.lines](const CollectPort& port) { return lines(port.device); });
    // One station per port and per folder, this one included: a service serving either is left alone.
    StationWatch watch;
    watch.lockDir = services_.lockDirs.empty() ? DefaultLockDir() : services_.lockDirs.front();
    watch.self = {static_cast<unsigned long>(QCoreApplication::applicationPid()), *folder, "",
                  QSysInfo::machineHostName().toStdString()};
    collecting_->station.SetWatch(watch);
    StationHolder holder;
    std::string reason;
    if (!collecting_->station.TakeFolder(&holder, &reason)) {
        if (reason.empty()) reason = tr("由收集站服務").toStdString() + " (" + HolderText(holder) + ")";
        collecting_.reset();
        services_.messages->ShowMessage(
            Substitute(tr("無法在 %1 自動收集: %2").toStdString(), {*folder, reason}),
            tr("自動收集").toStdString(), MessageIcon::Exclamation, MessageButtons::Ok);
        collect_->setChecked(false);
        return;
    }
    std::vector<std::pair<std::size_t, CollectPort>> ports;
    for (std::size_t row : rows) {
        // Two rows naming one device would fight over its line: the first serves it.
        if (collecting_->rows.count(rack_.rows()[row].device) != 0) continue;
        std::optional<CollectPort> port = rack_.StartCollecting(row);
        if (!port) continue;
        // The template as it is now gives the line's speed, as for every other transfer from here.
        port->tmpl = tmpl_;
        if (rack_.rows()[row].comPort)
            port->tmpl.portSettings.comPort = static_cast<u8>(*rack_.rows()[row].comPort);
        collecting_->rows[port->device] = row;
        ports.emplace_back(row, std::move(*port));
    }
    Collecting* c = collecting_.get();
    for (auto& [row, port] : ports) {
        c->serving.insert(row);
        ShowRow(row);
        c->runner.Serve(port, [this, row = row] { PostTo(this, [this, row] { CollectorEnded(row); }); });
    }
    collect_->setChecked(true);
    collect_->setToolTip(QFile::decodeName(folder->c_str()));
    ShowSummary();
    if (c->serving.empty()) StopCollecting();
}

void TerminalsWindow::StopCollecting() {
    if (!collecting_) return;
    collecting_->stop.store(true);
    collect_->setEnabled(false);  // until every row has stopped
    if (collecting_->serving.empty()) {
        collecting_.reset();
        collect_->setEnabled(true);
        collect_->setChecked(false);
    }
}

void TerminalsWindow::RowCollected(std::size_t row, const CollectEvent& event) {
    rack_.Collected(row, event);
    ShowRow(row);
}

void TerminalsWindow::CollectorEnded(std::size_t row) {
    if (!collecting_) return;
    collecting_->serving.erase(row);
    rack_.CollectingEnded(row);
    ShowRow(row);
    ShowSummary();
    if (!collecting_->serving.empty()) return;
    collecting_.reset();
    collect_->setEnabled(true);
    collect_->setChecked(false);
    emit collectingEnded();
    CloseIfStopped();
}

}  // namespace k52
