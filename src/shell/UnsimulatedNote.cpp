// The note on what the simulated terminal leaves out.
#include "shell/UnsimulatedNote.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "editor/ui/SheetPlacement.h"
#include "i18n/Translate.h"
#include "shell/QtDialogs.h"

namespace k52 {

UnsimulatedNote::UnsimulatedNote(QWidget* terminal)
    : QWidget(terminal, Qt::Tool | Qt::WindowStaysOnTopHint), terminal_(terminal) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(FromUtf8(Translate("UnsimulatedNote", K52_TR("UnsimulatedNote", "模擬器未模擬的設定"))));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(FromUtf8(
        Translate("UnsimulatedNote",
                  K52_TR("UnsimulatedNote", "這個程式用到模擬器不模擬的設定, 它們只在終端機上作用:"))));
    heading->setWordWrap(true);
    layout->addWidget(heading);
    text_ = new QLabel;
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(FromUtf8(Translate("UnsimulatedNote", K52_TR("UnsimulatedNote", "知道了"))));
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
    row->addWidget(ok);
    layout->addLayout(row);
}

QString UnsimulatedNote::text() const {
    return text_->text();
}

void UnsimulatedNote::ShowOnce(const std::string& key, const std::string& description) {
    if (description.empty()) {
        hide();
        return;
    }
    if (key + description == shownFor_) return;
    shownFor_ = key + description;
    text_->setText(FromUtf8(description).trimmed());
    adjustSize();
    if (QScreen* s = terminal_->screen())
        move(PlaceBeside(terminal_->frameGeometry(), frameGeometry().size(), s->availableGeometry())
                 .topLeft());
    show();
}

}  // namespace k52
