#include "shell/StandInSheet.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/Shell.h"

namespace k52 {

int OpenStandInSheet(QWidget* owner, TemplateDocument& doc, EditorHost& host) {
    QDialog sheet(owner);
    sheet.setWindowTitle(QStringLiteral("Application Template"));
    auto* text = new QLabel(QStringLiteral("此版本未包含範本編輯頁。\n"
                                           "The template pages are not part of this build."),
                            &sheet);
    auto* buttons = new QDialogButtonBox(&sheet);
    QPushButton* ok = buttons->addButton(QStringLiteral("確定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
    auto* layout = new QVBoxLayout(&sheet);
    layout->addWidget(text);
    layout->addWidget(buttons);
    if (sheet.exec() != QDialog::Accepted) return 0;
    ConfirmStandInSheet(doc, host);
    return 1;
}

}  // namespace k52
