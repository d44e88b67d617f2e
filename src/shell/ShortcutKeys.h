// The main window's keyboard shortcuts, listed once: the window binds them, and the command menu shows
// them after its items.
#pragma once

#include "shell/Shell.h"

namespace k52 {

struct ShortcutKey {
    const char* keys;  // as QKeySequence reads them
    int command;
    bool shownInMenu;  // the label the command menu shows after the command's item
};

// Ctrl+= is Ctrl++ without the shift key that '+' needs on many keyboards. Alt+F4 is the close request,
// which window managers also make on their own.
inline constexpr ShortcutKey kShortcutKeys[] = {
    {"Ctrl+N", kCmdNew, true},     {"Ctrl+O", kCmdOpen, true},       {"Ctrl+S", kCmdSave, true},
    {"Ctrl+E", kCmdEdit, true},    {"Ctrl+T", kCmdTerminals, true},  {"Ctrl++", kCmdZoomIn, true},
    {"Ctrl+=", kCmdZoomIn, false}, {"Ctrl+-", kCmdZoomOut, true},    {"Ctrl+0", kCmdZoom100, true},
    {"Ctrl+B", kCmdScan, true},    {"Ctrl+V", kCmdPasteScan, false}, {"Ctrl+Shift+C", kCmdCopyScreen, true},
    {"Alt+F4", kCmdExit, true},
};

// The shortcut the command menu shows after `command`'s item; nullptr when it shows none.
constexpr const char* ShortcutLabel(int command) {
    for (const ShortcutKey& k : kShortcutKeys)
        if (k.command == command && k.shownInMenu) return k.keys;
    return nullptr;
}

}  // namespace k52
