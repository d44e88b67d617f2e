// Message boxes and file dialogs of the desktop program, on Qt.
#include "shell/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "i18n/Translate.h"
#include "shell/DeskSettings.h"

namespace k52 {
namespace {

// Both template dialogs name the file type alike.
QString TemplateFileType() {
    return QCoreApplication::translate("QtTemplateFileDialogs", "Application Template Files (*.ATC)");
}

}  // namespace

QWidget* ActiveOwner(QWidget* fallback) {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w ? w : fallback;
}

MessageAnswer QtMessageBoxes::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                          MessageButtons buttons) {
    return ShowDetailedMessage(text, title, icon, buttons, {});
}

MessageAnswer QtMessageBoxes::ShowDetailedMessage(std::string_view text, std::string_view title,
                                                  MessageIcon icon, MessageButtons buttons,
                                                  std::string_view detail) {
    QMessageBox box(ActiveOwner(fallbackOwner_));
    // The core hands over its own texts; they are translated here, where they are shown. The detail is a
    // finished English explanation (why a port would not open), built from a marked pattern.
    box.setWindowTitle(FromUtf8(Translate(title)));
    box.setText(FromUtf8(Translate(text)));
    if (!detail.empty()) box.setInformativeText(FromUtf8(LocalizeFinished(detail)));
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Exclamation:
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
    }
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    switch (buttons) {
        case MessageButtons::Ok:
            ok =
                box.addButton(QCoreApplication::translate("QtMessageBoxes", "確定"), QMessageBox::AcceptRole);
            box.setDefaultButton(ok);
            box.setEscapeButton(ok);
            break;
        case MessageButtons::YesNo:
            yes =
                box.addButton(QCoreApplication::translate("QtMessageBoxes", "是(&Y)"), QMessageBox::YesRole);
            no = box.addButton(QCoreApplication::translate("QtMessageBoxes", "否(&N)"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            break;
        case MessageButtons::YesNoCancel:
            yes =
                box.addButton(QCoreApplication::translate("QtMessageBoxes", "是(&Y)"), QMessageBox::YesRole);
            no = box.addButton(QCoreApplication::translate("QtMessageBoxes", "否(&N)"), QMessageBox::NoRole);
            cancel =
                box.addButton(QCoreApplication::translate("QtMessageBoxes", "取消"), QMessageBox::RejectRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(cancel);
            break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (clicked == yes) return MessageAnswer::Yes;
    if (clicked == no) return MessageAnswer::No;
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

std::optional<std::string> ChooseFile(QWidget* owner, bool save, const QList<FileFilter>& filters,
                                      const QString& suffix, const QString& start, const char* purpose) {
    QFileDialog dialog(ActiveOwner(owner));
    // The pattern goes in a trailing group that the dialog hides, so the label shows as written.
    QStringList names;
    for (const FileFilter& f : filters)
        names << f.label + QStringLiteral(" (") + f.pattern + QLatin1Char(')');
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(names);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    const QString key = purpose ? QLatin1String(purpose) : QString();
    if (!start.isEmpty()) {
        dialog.selectFile(start);
    } else if (!key.isEmpty()) {
        const QString last = DeskSettings().value(key).toString();
        dialog.setDirectory(!last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (!key.isEmpty()) DeskSettings().setValue(key, QFileInfo(chosen).absolutePath());
    return QFile::encodeName(chosen).toStdString();
}

std::optional<std::string> QtTemplateFileDialogs::ChooseTemplateToOpen() {
    return ChooseFile(
        owner_, false,
        {{TemplateFileType(), QStringLiteral("*.ATC")},
         {QCoreApplication::translate("QtTemplateFileDialogs", "All files (*.*)"), QStringLiteral("*")}},
        {}, {}, kTemplateFolderKey);
}

std::optional<std::string> QtTemplateFileDialogs::ChooseTemplateToSave() {
    return ChooseFile(owner_, true, {{TemplateFileType(), QStringLiteral("*.ATC")}}, QStringLiteral("ATC"),
                      {}, kTemplateFolderKey);
}

}  // namespace k52
