// The Terminals window's "Assign to COMn...": an adapter found plugged in, not yet any COM port's, is
// given to one in the user's ports.conf, so that programs that name COM ports reach it.
#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QTableView>

#include "app/UserInterface.h"
#include "i18n/Translate.h"
#include "ports/PortAssignments.h"
#include "ports/PortResolver.h"
#include "shell/TerminalsWindow.h"

namespace k52 {

void TerminalsWindow::RowMenu(const QPoint& at) {
    const QModelIndex index = table_->indexAt(at);
    if (!index.isValid()) return;
    const std::size_t row = static_cast<std::size_t>(index.row());
    const RackRow& r = rack_.rows()[row];
    QMenu menu(this);
    QAction* assign = menu.addAction(tr("指定為 COMn..."));
    assign->setEnabled(!r.comPort && r.present && r.state != RowState::Running && !r.collecting);
    connect(assign, &QAction::triggered, this, [this, row] { ChooseComPortFor(row); });
    menu.exec(table_->viewport()->mapToGlobal(at));
}

void TerminalsWindow::ChooseComPortFor(std::size_t row) {
    QStringList choices;
    for (int i = 0; i < kComPortCount; ++i) {
        QString choice = QString::fromStdString(ComPortName(i));
        // What the port leads to now, so that a person sees which assignment is replaced.
        const ComPortResolution com = ResolveComPort(i);
        if (com.source != AssignmentSource::Default)
            choice += QStringLiteral("  (") + QFile::decodeName(com.device.c_str()) + QLatin1Char(')');
        choices << choice;
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        this, tr("指定傳輸埠"),
        tr("要把 %1 指定為哪一個傳輸埠?").arg(QFile::decodeName(rack_.rows()[row].device.c_str())), choices,
        0, false, &ok);
    if (ok) AssignRow(row, static_cast<int>(choices.indexOf(chosen)));
}

bool TerminalsWindow::AssignRow(std::size_t row, int comPort) {
    if (row >= rack_.rows().size() || comPort < 0 || comPort >= kComPortCount) return false;
    const std::string device = StableDevicePath(rack_.rows()[row].device);
    std::vector<std::string> warnings;
    std::string error;
    const bool written = EditPortsConf(
                             DefaultPortsConfPath(),
                             [&](PortsConf& conf) {
                                 if (conf.Assign(comPort, device)) return true;
                                 error = Localize("%1: \"%2\" is not a device path such as /dev/ttyUSB0",
                                                  {ComPortName(comPort), device});
                                 return false;
                             },
                             &warnings, &error)
                             .has_value() &&
                         error.empty();
    if (!written) {
        services_.messages->ShowMessage(Localize("The port assignments could not be stored: %1", {error}),
                                        tr("指定傳輸埠").toStdString(), MessageIcon::Exclamation,
                                        MessageButtons::Ok);
        return false;
    }
    Rescan();
    return true;
}

}  // namespace k52
