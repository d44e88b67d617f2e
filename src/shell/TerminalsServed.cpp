// The Terminals window beside a running collection service: the ports it serves are shown as served by
// it, with what its status file says, and this desk starts nothing on them.
#include <QCoreApplication>
#include <QFile>
#include <algorithm>

#include "shell/DeskSettings.h"
#include "shell/TerminalsModel.h"
#include "shell/TerminalsWindow.h"

namespace k52 {
namespace {

// Folders a service may collect into besides the desk's own collection folder: named in the settings
// for a service whose folder the desk does not collect into.
const QString kServiceFolderKey = QStringLiteral("terminals/serviceFolder");
const QString kCollectFolderKey = QStringLiteral("terminals/collectFolder");

}  // namespace

ServiceLook TerminalsWindow::LookForServices() const {
    ServiceLook look;
    look.lockDirs = services_.lockDirs.empty() ? SystemLockDirs() : services_.lockDirs;
    look.selfPid = static_cast<unsigned long>(QCoreApplication::applicationPid());
    DeskSettings settings;
    for (const QString& key : {kCollectFolderKey, kServiceFolderKey})
        if (const QString folder = settings.value(key).toString(); !folder.isEmpty())
            look.folders.push_back(QFile::encodeName(folder).toStdString());
    return look;
}

TerminalsWindow::ServedMap TerminalsWindow::FindServed(const RackScan& scan, std::vector<std::string> devices,
                                                       const ServiceLook& look) {
    // The rows a scan may add, beside those there already: a new row shows its station at once.
    for (const ComPortResolution& com : scan.comPorts) devices.push_back(com.device);
    for (const DiscoveredPort& p : scan.adapters) devices.push_back(p.PreferredPath());
    std::sort(devices.begin(), devices.end());
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    std::erase(devices, std::string());
    const std::vector<std::optional<ServedPort>> found = FindServedPorts(devices, look);
    ServedMap served;
    for (std::size_t i = 0; i < devices.size(); ++i) served[devices[i]] = found[i];
    return served;
}

void TerminalsWindow::ApplyServed(const ServedMap& served) {
    std::vector<std::optional<ServedPort>> rows;
    for (const RackRow& r : rack_.rows()) {
        const auto it = served.find(r.device);
        rows.push_back(it == served.end() ? std::nullopt : it->second);
    }
    if (!rack_.SetServed(rows)) return;
    for (std::size_t i = 0; i < rack_.rows().size(); ++i) ShowRow(i);
    ShowSummary();
}

}  // namespace k52
