// The main window's tools for the simulated terminal: scans and paste, recorded keys, the screen as text
// and as a picture.
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>

#include "i18n/Translate.h"
#include "shell/MainWindow.h"
#include "shell/QtDialogs.h"
#include "shell/UnsimulatedNote.h"
#include "simulator/ScreenCheck.h"
#include "simulator/ui/SimulatorWidget.h"
#include "template/Defaults.h"
#include "util/SaveFile.h"

namespace k52 {

namespace {

QString Tr(const char* text) {
    return FromUtf8(Translate("MainWindow", text));
}

}  // namespace

void MainWindow::UpdateRecordItem() {
    for (QAction* a : menu_->actions()) {
        if (a->data().toInt() != kCmdRecordKeys) continue;
        a->setText(simulator_->recording() ? FromUtf8(Translate("Shell", kStopRecordingText))
                                           : FromUtf8(Translate("Shell", K52_TR("Shell", "錄製按鍵..."))));
    }
}

void MainWindow::StartRecording(const std::string& path) {
    recordPath_ = path;
    // As k52cli simulate starts: the template as the editor leaves it, the terminal just switched on.
    NormaliseTemplate(doc_.tmpl);
    simulator_->StartRecording();
    UpdateRecordItem();
}

bool MainWindow::StopRecording() {
    const std::string script = simulator_->StopRecording();
    UpdateRecordItem();
    std::string reason;
    if (SaveWholeFile(recordPath_, script.data(), script.size(), &reason)) return true;
    const std::string text = Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法寫入檔案 %1 : %2")),
                                        {recordPath_, LocalizeFinished(reason)});
    messages_->ShowMessage(text, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

void MainWindow::EnterScan(const QString& text) {
    const ScanResult r = simulator_->Scan(text);
    if (r.outcome == ScanOutcome::NotInForm) {
        messages_->ShowMessage(Translate("MainWindow", K52_TR("MainWindow", "請先進入表單, 再掃瞄條碼")),
                               kShellTitle, MessageIcon::Information, MessageButtons::Ok);
    } else if (r.outcome == ScanOutcome::Untypable) {
        const std::string shown = r.character ? std::string(1, r.character) : std::string();
        const std::string message = Substitute(
            Translate("MainWindow", K52_TR("MainWindow", "終端機的按鍵打不出這個條碼的字元 %1")), {shown});
        messages_->ShowMessage(message, kShellTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

bool MainWindow::SavePicture(const QString& path) {
    if (simulator_->grab().save(path, "PNG")) return true;
    const std::string text = Substitute(Translate("MainWindow", K52_TR("MainWindow", "無法寫入檔案 %1 : %2")),
                                        {QFile::encodeName(path).toStdString(),
                                         Translate("MainWindow", K52_TR("MainWindow", "無法儲存圖片"))});
    messages_->ShowMessage(text, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

void MainWindow::UseTerminalTool(TerminalTool tool) {
    switch (tool) {
        case TerminalTool::Scan: {
            bool ok = false;
            const QString text = QInputDialog::getText(this, Tr(K52_TR("MainWindow", "掃瞄")),
                                                       Tr(K52_TR("MainWindow", "條碼內容:")),
                                                       QLineEdit::Normal, QString(), &ok);
            if (ok) EnterScan(text);
            return;
        }
        case TerminalTool::Paste:
            // A scan is one line: the clipboard's first.
            EnterScan(QGuiApplication::clipboard()
                          ->text()
                          .section(QLatin1Char('\n'), 0, 0)
                          .remove(QLatin1Char('\r')));
            return;
        case TerminalTool::Record: {
            if (simulator_->recording()) {
                StopRecording();
                return;
            }
            const auto path = ChooseFile(
                this, true, {{Tr(K52_TR("MainWindow", "按鍵檔 (*.keys)")), QStringLiteral("*.keys")}},
                QStringLiteral("keys"));
            if (path) StartRecording(*path);
            return;
        }
        case TerminalTool::CopyScreen:
            QGuiApplication::clipboard()->setText(FromUtf8(ScreenText(simulator_->simulator())));
            return;
        case TerminalTool::SavePicture: {
            const auto path = ChooseFile(
                this, true, {{Tr(K52_TR("MainWindow", "PNG 圖片 (*.png)")), QStringLiteral("*.png")}},
                QStringLiteral("png"));
            if (path) SavePicture(QFile::decodeName(path->c_str()));
            return;
        }
    }
}

}  // namespace k52
