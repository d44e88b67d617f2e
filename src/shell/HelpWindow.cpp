// The help window's pages, built into the program so that a build run from its folder has them too, and
// the first start's hint.
#include "shell/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "editor/ui/SheetPlacement.h"
#include "i18n/Translate.h"
#include "shell/DeskSettings.h"
#include "shell/QtDialogs.h"

namespace k52 {
namespace {

const char kHintShownKey[] = "view/firstStartHintShown";

QString Tr(const char* text) {
    return FromUtf8(Translate("Help", text));
}

QTextBrowser* Page(const QString& resource) {
    auto* page = new QTextBrowser;
    page->setOpenExternalLinks(true);
    QFile file(resource);
    if (file.open(QIODevice::ReadOnly)) page->setMarkdown(QString::fromUtf8(file.readAll()));
    return page;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(Tr(K52_TR("Help", "說明")));
    pages_ = new QTabWidget(this);
    pages_->addTab(Page(QStringLiteral(":/help/README.md")), Tr(K52_TR("Help", "使用說明")));
    pages_->addTab(Page(QStringLiteral(":/help/docs/template-format.md")), Tr(K52_TR("Help", "範本檔格式")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    resize(760, 620);
}

QWidget* ShowFirstStartHint(QWidget* terminal) {
    DeskSettings settings;
    if (settings.value(QLatin1String(kHintShownKey), false).toBool()) return nullptr;
    settings.setValue(QLatin1String(kHintShownKey), true);

    auto* hint = new QWidget(terminal, Qt::Tool | Qt::WindowStaysOnTopHint);
    hint->setAttribute(Qt::WA_ShowWithoutActivating);
    hint->setAttribute(Qt::WA_DeleteOnClose);
    hint->setWindowTitle(Tr(K52_TR("Help", "如何開始")));
    auto* layout = new QHBoxLayout(hint);
    layout->addWidget(
        new QLabel(Tr(K52_TR("Help", "在終端機上按滑鼠右鍵 (或按 PWR 鍵) 開啟功能表; Ctrl+E 編輯程式"))));
    auto* ok = new QPushButton(Tr(K52_TR("Help", "知道了")));
    QObject::connect(ok, &QPushButton::clicked, hint, &QWidget::close);
    layout->addWidget(ok);
    hint->adjustSize();
    if (QScreen* s = terminal->screen())
        hint->move(
            PlaceBeside(terminal->frameGeometry(), hint->frameGeometry().size(), s->availableGeometry())
                .topLeft());
    hint->show();
    return hint;
}

}  // namespace k52
