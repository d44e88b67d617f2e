// The command menu as the desktop shows it (built from its table), and the recent files it lists, kept in
// k52gen's settings between runs.
#pragma once

#include <string>
#include <vector>

#include "app/RecentFiles.h"

class QMenu;
class QWidget;

namespace k52 {

// Builds the command menu from its table; each action carries its command id as data. The recent files'
// submenu lists `recent` each time it opens.
QMenu* BuildCommandMenu(QWidget* owner, const RecentFiles* recent = nullptr);

// The recent files as the last run left them, most recent first; and stored for the next.
std::vector<std::string> StoredRecentFiles();
void StoreRecentFiles(const std::vector<std::string>& paths);

}  // namespace k52
