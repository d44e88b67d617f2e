// The command menu's widgets and the recent files' place in the settings.
#include "shell/CommandMenuQt.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "i18n/Translate.h"
#include "shell/QtDialogs.h"
#include "shell/Shell.h"

namespace k52 {

namespace {

const char kRecentKey[] = "files/recent";

}  // namespace

std::vector<std::string> StoredRecentFiles() {
    std::vector<std::string> paths;
    const QStringList stored = QSettings(QStringLiteral("k52"), QStringLiteral("k52gen"))
                                   .value(QLatin1String(kRecentKey))
                                   .toStringList();
    for (const QString& path : stored) paths.push_back(QFile::encodeName(path).toStdString());
    return paths;
}

void StoreRecentFiles(const std::vector<std::string>& paths) {
    QStringList stored;
    for (const std::string& path : paths) stored << QFile::decodeName(path.c_str());
    QSettings settings(QStringLiteral("k52"), QStringLiteral("k52gen"));
    settings.setValue(QLatin1String(kRecentKey), stored);
    settings.sync();
}

namespace {

// The recent files' submenu, filled afresh each time it opens: "&1 NAME", the path as its tip.
void FillRecentMenu(QMenu* menu, const RecentFiles* recent) {
    menu->clear();
    const std::vector<std::string> none;
    const std::vector<std::string>& paths = recent ? recent->paths() : none;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QString path = QFile::decodeName(paths[i].c_str());
        QAction* a = menu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setToolTip(path);
        a->setStatusTip(path);
        a->setData(kCmdRecentFirst + static_cast<int>(i));
    }
    menu->setToolTipsVisible(true);
    menu->setEnabled(!paths.empty());
}

}  // namespace

QMenu* BuildCommandMenu(QWidget* owner, const RecentFiles* recent) {
    auto* root = new QMenu(owner);
    QMenu* current = root;
    for (const CommandMenuEntry& e : CommandMenu()) {
        switch (e.kind) {
            case CommandMenuEntry::Item: {
                QString text = FromUtf8(Translate("Shell", e.text));
                // The label after a tab is shown as the item's shortcut; the keys themselves belong
                // to the main window, so the menu does not bind them a second time.
                if (e.shortcut) text += QLatin1Char('\t') + QString::fromUtf8(e.shortcut);
                QAction* a = current->addAction(text);
                a->setData(e.command);
                break;
            }
            case CommandMenuEntry::Separator:
                current->addSeparator();
                break;
            case CommandMenuEntry::Submenu:
                current = current->addMenu(FromUtf8(Translate("Shell", e.text)));
                break;
            case CommandMenuEntry::End:
                current = root;
                break;
            case CommandMenuEntry::Recent: {
                QMenu* files = current->addMenu(FromUtf8(Translate("Shell", e.text)));
                files->setObjectName(QStringLiteral("recentFiles"));
                FillRecentMenu(files, recent);
                QObject::connect(files, &QMenu::aboutToShow, files,
                                 [files, recent] { FillRecentMenu(files, recent); });
                // A submenu that is disabled while empty opens again once the list has entries.
                QObject::connect(root, &QMenu::aboutToShow, files,
                                 [files, recent] { FillRecentMenu(files, recent); });
                break;
            }
        }
    }
    return root;
}

}  // namespace k52
