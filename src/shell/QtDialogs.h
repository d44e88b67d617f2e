// Message boxes and file dialogs of the desktop program. Tests put their own MessageBoxes and
// TemplateFileDialogs in place of these.
#pragma once

#include <QString>
#include <QWidget>

#include "app/UserInterface.h"

namespace k52 {

// Modal message boxes owned by the active window, with the buttons labelled as the rest of the program.
class QtMessageBoxes : public MessageBoxes {
  public:
    explicit QtMessageBoxes(QWidget* fallbackOwner = nullptr) : fallbackOwner_(fallbackOwner) {}
    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override;
    // The detail goes under the text, in the box's smaller informative line.
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override;

  private:
    QWidget* fallbackOwner_;
};

// The open and save dialogs for template files.
class QtTemplateFileDialogs : public TemplateFileDialogs {
  public:
    explicit QtTemplateFileDialogs(QWidget* owner) : owner_(owner) {}
    std::optional<std::string> ChooseTemplateToOpen() override;
    std::optional<std::string> ChooseTemplateToSave() override;

  private:
    QWidget* owner_;
};

// The window that owns a modal box: the active window, else `fallback`.
QWidget* ActiveOwner(QWidget* fallback);

// One entry of a file dialog's type list: the label shown, exactly, and the pattern it selects.
struct FileFilter {
    QString label;
    QString pattern;
};

// The settings keys of the folders each kind of file is chosen in: each purpose starts where it was
// last used, never where another purpose left the dialog.
inline constexpr char kTemplateFolderKey[] = "folders/templates";
inline constexpr char kLookupFolderKey[] = "folders/lookup";
inline constexpr char kReceivedFolderKey[] = "folders/received";

// An open or save dialog, the first filter selected. `suffix` is added to a name typed without one; a
// save dialog asks before replacing a file. Without `start` it starts in the folder last used for
// `purpose` (a settings key, or empty for none). Empty when cancelled.
std::optional<std::string> ChooseFile(QWidget* owner, bool save, const QList<FileFilter>& filters,
                                      const QString& suffix, const QString& start = {},
                                      const char* purpose = nullptr);

inline QString FromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace k52
