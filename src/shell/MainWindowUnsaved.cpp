// The main window's recovery copy of an unsaved template: kept a few seconds after each change, offered
// at the next start, and the desktop session's logout question.
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QSessionManager>
#include <QTimer>
#include <algorithm>
#include <ctime>

#include "i18n/Translate.h"
#include "shell/MainWindow.h"
#include "simulator/ui/SimulatorWidget.h"
#include "util/platform/System.h"

namespace k52 {

void MainWindow::SetUpUnsavedCopies(const std::string& folder) {
    unsaved_ = std::make_unique<UnsavedCopies>(folder.empty() ? UnsavedCopies::DefaultFolder() : folder,
                                               platform::ProcessId());
    unsavedTimer_ = new QTimer(this);
    unsavedTimer_->setSingleShot(true);
    connect(unsavedTimer_, &QTimer::timeout, this, [this] {
        if (unsavedSchedule_.Due(ownClock_.NowMs()))
            KeepUnsavedCopy();
        else
            ArmUnsavedTimer();
    });
    // Direct: the session waits for the answer before it goes on.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &MainWindow::CommitSession,
                Qt::DirectConnection);
}

void MainWindow::NoteChange() {
    if (!doc_.templateModified) return;
    changesSettled_ = false;
    sessionAnswered_ = false;
    unsavedSchedule_.Changed(ownClock_.NowMs());
    ArmUnsavedTimer();
}

void MainWindow::ArmUnsavedTimer() {
    const auto due = unsavedSchedule_.DueAt();
    if (!due) {
        unsavedTimer_->stop();
        return;
    }
    unsavedTimer_->start(static_cast<int>(std::max<std::int64_t>(0, *due - ownClock_.NowMs())));
}

void MainWindow::KeepUnsavedCopy() {
    if (!doc_.templateModified || changesSettled_) return;
    std::string reason;
    if (!unsaved_->Write(doc_, std::time(nullptr), &reason)) {
        // Not worth a box while someone edits; the next change tries again.
        qWarning("k52gen: cannot keep a recovery copy in %s: %s", unsaved_->folder().c_str(), reason.c_str());
        return;
    }
    unsavedSchedule_.Written();
    ArmUnsavedTimer();
}

void MainWindow::ChangesSettled() {
    changesSettled_ = true;
    unsavedSchedule_.Settled();
    unsavedTimer_->stop();
    unsaved_->RemoveOwn();
}

void MainWindow::OfferUnsavedCopies() {
    for (const UnsavedCopy& copy : unsaved_->Leftovers()) {
        const QString when = QLocale().toString(
            QDateTime::fromSecsSinceEpoch(static_cast<qint64>(copy.written)), QLocale::ShortFormat);
        const std::string question = Substitute(
            Translate("MainWindow", K52_TR("MainWindow", "要還原 %1 未儲存的範本嗎? 選「否」將捨棄它。")),
            {when.toStdString()});
        const std::string detail =
            copy.doc.templatePath.empty()
                ? std::string(Translate("MainWindow", K52_TR("MainWindow", "尚未儲存過的新範本")))
                : copy.doc.templatePath;
        const MessageAnswer answer = messages_->ShowDetailedMessage(
            question, kShellTitle, MessageIcon::Question, MessageButtons::YesNo, detail);
        if (answer != MessageAnswer::Yes) {
            UnsavedCopies::Remove(copy);
            continue;
        }
        doc_ = copy.doc;
        simulator_->RestartAfterEdit();
        UpdateTitle();
        UpdateUnsimulatedNote();
        // This run's own copy holds it from now on (after a restart the old copy may bear this run's id).
        UnsavedCopies::Remove(copy);
        changesSettled_ = false;
        KeepUnsavedCopy();
        return;
    }
}

void MainWindow::CommitSession(QSessionManager& manager) {
    if (!doc_.templateModified || changesSettled_) return;
    if (!manager.allowsInteraction()) {
        KeepUnsavedCopy();
        return;
    }
    const bool goOn = shell_->CloseRequest();
    manager.release();
    if (!goOn) {
        manager.cancel();
        return;
    }
    // A save that failed inside the question leaves the copy for the next start.
    KeepUnsavedCopy();
    sessionAnswered_ = true;
}

}  // namespace k52
