// The about box, closed only by its button or Enter.
#include "shell/AboutBox.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "simulator/ui/SimulatorWidget.h"

namespace k52 {

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    setWindowTitle(tr("關於"));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(TerminalImage(500).scaled(45, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    auto* text = new QLabel(this);
    text->setText(
        tr("<b>K52 Application Generator</b><br>版本 1.0<br><br>"
           "設計 K52 條碼終端機的應用程式<br><br>Copyright (C) 2025 Varnell"));
    text->setTextFormat(Qt::RichText);

    ok_ = new QPushButton(tr("確定"), this);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { done(1); });

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::closeEvent(QCloseEvent* event) {
    // The close box is no way out; only the button (or Enter) closes the box.
    if (result() != 1) event->ignore();
}

}  // namespace k52
