// The editor sheet on the desktop: five tabs, OK and Cancel, and the dialogs its buttons open.
#include "editor/ui/EditorSheetDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/ui/ControlBinder.h"
#include "editor/ui/EditorPages.h"
#include "editor/ui/SheetPlacement.h"

namespace k52 {

namespace {
QString Qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

LogicDialog::LogicDialog(QWidget* owner, ControlLogic& logic) : QDialog(owner), logic_(logic) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void LogicDialog::Bind() {
    binder_ = new ControlBinder(this, logic_, this);
    binder_->onClose = [this](int result) { done(result); };
    binder_->Apply(logic_.Initialise());
}

void LogicDialog::reject() {
    if (binder_)
        binder_->Apply(logic_.Clicked(kIdCancel));
    else
        QDialog::reject();
}

int RunFieldAttributesDialog(QWidget* owner, FieldAttributesDialog& logic) {
    LogicDialog dialog(owner, logic);
    BuildFieldAttributesDialog(&dialog);
    dialog.Bind();
    return dialog.exec() == 1 ? 1 : 0;
}

int RunSymbologyDialog(QWidget* owner, SymbologyDialog& logic) {
    LogicDialog dialog(owner, logic);
    BuildSymbologyDialog(&dialog, logic.info());
    dialog.Bind();
    return dialog.exec() == 1 ? 1 : 0;
}

EditorSheetDialog::EditorSheetDialog(QWidget* owner, TemplateDocument& doc, EditorHost& host)
    : QDialog(owner), sheet_(doc, host) {
    setWindowTitle(Qs(EditorSheet::kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* outer = new QVBoxLayout(this);
    tabs_ = new QTabWidget;
    pages_ = {BuildFormPage(), BuildMenuPage(), BuildLookupPage(), BuildBarcodePage(), BuildStartupPage()};
    for (int i = 0; i < EditorSheet::kPageCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        binders_[slot] = new ControlBinder(pages_[slot], sheet_.page(i), this);
        binders_[slot]->onOpen = [this, i](int id) { OpenFromPage(i, id); };
        tabs_->addTab(pages_[slot], Translated(EditorSheet::TabCaption(i)));
    }
    outer->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);

    tabs_->setCurrentIndex(EditorSheet::kFormPage);
    ShowPage(EditorSheet::kFormPage);
    connect(tabs_, &QTabWidget::currentChanged, this, &EditorSheetDialog::ShowPage);
}

QWidget* EditorSheetDialog::page(int index) const {
    return (index >= 0 && index < EditorSheet::kPageCount) ? pages_[static_cast<std::size_t>(index)]
                                                           : nullptr;
}

void EditorSheetDialog::ShowPage(int index) {
    if (index < 0 || index >= EditorSheet::kPageCount) return;
    binders_[static_cast<std::size_t>(index)]->Apply(sheet_.Show(index));
}

void EditorSheetDialog::OpenFromPage(int page, int buttonId) {
    if (page == EditorSheet::kFormPage) {
        if (auto logic = sheet_.forms().FieldAttributes(buttonId - FormPage::kAdvancedButtonBase))
            RunFieldAttributesDialog(this->page(page), *logic);
    } else if (page == EditorSheet::kBarcodePage) {
        if (auto logic = sheet_.barcode().OptionsDialog(buttonId))
            RunSymbologyDialog(this->page(page), *logic);
    }
}

void EditorSheetDialog::accept() {
    sheet_.Confirm();
    QDialog::accept();
}

void EditorSheetDialog::reject() {
    sheet_.Cancel();
    QDialog::reject();
}

int OpenEditorSheet(QWidget* owner, TemplateDocument& doc, EditorHost& host) {
    EditorSheetDialog sheet(owner, doc, host);
    // Beside the terminal rather than centred over it, so the terminal can be watched while editing.
    if (owner) {
        QWidget* terminal = owner->window();
        if (QScreen* screen = terminal->screen()) {
            sheet.adjustSize();
            const QRect area = screen->availableGeometry();
            const QRect placed = PlaceBeside(terminal->frameGeometry(), sheet.size(), area);
            sheet.move(placed.topLeft());
            // Too little room on either side of the terminal but enough on the screen: the terminal
            // steps aside.
            terminal->move(MakeRoomBeside(terminal->frameGeometry(), placed, area).topLeft());
        }
    }
    return sheet.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace k52
