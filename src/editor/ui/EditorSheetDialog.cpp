// The editor sheet on the desktop: five tabs, OK and Cancel, and the dialogs its buttons open.
#include "editor/ui/EditorSheetDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/Tooltips.h"
#include "editor/ui/ControlBinder.h"
#include "editor/ui/EditorPages.h"
#include "editor/ui/SheetPlacement.h"
#include "i18n/Translate.h"
#include "template/LookupLayout.h"
#include "transfer/LookupData.h"

namespace k52 {

namespace {
QString Qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr std::string_view kTooltipOwners[EditorSheet::kPageCount] = {
    kFormPageOwner, kMenuPageOwner, kLookupPageOwner, kBarcodePageOwner, kStartupPageOwner};

// The sheet's questions where its host gives no boxes of its own.
class SheetMessageBoxes : public MessageBoxes {
  public:
    explicit SheetMessageBoxes(QWidget* owner) : owner_(owner) {}
    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                              MessageButtons buttons) override {
        if (buttons == MessageButtons::Ok) {
            QMessageBox::information(owner_, Translated(title), Translated(text));
            return MessageAnswer::Ok;
        }
        return QMessageBox::question(owner_, Translated(title), Translated(text)) == QMessageBox::Yes
                   ? MessageAnswer::Yes
                   : MessageAnswer::No;
    }

  private:
    QWidget* owner_;
};

// The first lines of a sample lookup file as the download would send them; empty when unreadable.
std::vector<std::string> SampleRecords(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = file.read(64 * 1024);
    LookupData data =
        ReadLookupData(std::string_view(head.constData(), static_cast<std::size_t>(head.size())),
                       {LookupEncoding::Auto, true});
    std::vector<std::string> records;
    for (LookupRecord& r : data.records) records.push_back(std::move(r.data));
    return records;
}
}  // namespace

LogicDialog::LogicDialog(QWidget* owner, ControlLogic& logic) : QDialog(owner), logic_(logic) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void LogicDialog::Bind() {
    binder_ = new ControlBinder(this, logic_, this);
    binder_->onClose = [this](int result) { done(result); };
    if (!tooltipOwner_.empty()) binder_->SetTooltips(tooltipOwner_);
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
    dialog.setTooltipOwner(kFieldAttributesOwner);
    BuildFieldAttributesDialog(&dialog);
    dialog.Bind();
    return dialog.exec() == 1 ? 1 : 0;
}

int RunSymbologyDialog(QWidget* owner, SymbologyDialog& logic) {
    LogicDialog dialog(owner, logic);
    dialog.setTooltipOwner(logic.info().name);
    BuildSymbologyDialog(&dialog, logic.info());
    dialog.Bind();
    return dialog.exec() == 1 ? 1 : 0;
}

EditorSheetDialog::EditorSheetDialog(QWidget* owner, TemplateDocument& doc, EditorHost& host)
    : QDialog(owner), sheet_(doc, host), host_(host), messages_(host.SheetMessages()) {
    setWindowTitle(Qs(EditorSheet::kCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* outer = new QVBoxLayout(this);
    tabs_ = new QTabWidget;
    pages_ = {BuildFormPage(), BuildMenuPage(), BuildLookupPage(), BuildBarcodePage(), BuildStartupPage()};
    for (int i = 0; i < EditorSheet::kPageCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        binders_[slot] = new ControlBinder(pages_[slot], sheet_.events(i), this);
        binders_[slot]->onOpen = [this, i](int id) { OpenFromPage(i, id); };
        binders_[slot]->SetTooltips(kTooltipOwners[slot]);
        tabs_->addTab(pages_[slot], Translated(EditorSheet::TabCaption(i)));
    }
    outer->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* revert =
        buttons->addButton(Translated(K52_TR("EditorPages", "還原本頁")), QDialogButtonBox::ResetRole);
    revert->setObjectName(QStringLiteral("revertPage"));
    revert->setAutoDefault(false);
    revert->setToolTip(Translated(K52_TR("EditorPages", "將本頁恢復成開啟編輯時的內容。")));
    connect(revert, &QPushButton::clicked, this, &EditorSheetDialog::RevertPage);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);

    // The sheet's undo works across its boxes; a box's own undo would bypass it.
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, &EditorSheetDialog::Undo);
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::Redo), QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
          QKeySequence(QStringLiteral("Ctrl+Y"))}) {
        auto* redo = new QShortcut(keys, this);
        connect(redo, &QShortcut::activated, this, &EditorSheetDialog::Redo);
    }
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->installEventFilter(this);

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
    if ((page == EditorSheet::kFormPage && buttonId == FormPage::kCopyButton) ||
        (page == EditorSheet::kMenuPage && buttonId == MenuPage::kCopyButton)) {
        ChooseCopySlot(page);
    } else if (page == EditorSheet::kLookupPage && buttonId == LookupPage::kPreviewButton) {
        PreviewSample();
    } else if (page == EditorSheet::kFormPage) {
        if (auto logic = sheet_.forms().FieldAttributes(buttonId - FormPage::kAdvancedButtonBase)) {
            RunFieldAttributesDialog(this->page(page), *logic);
            sheet_.DialogClosed(page);
        }
    } else if (page == EditorSheet::kBarcodePage && buttonId == BarcodePage::kLabelsButton) {
        host_.MakeTestLabels(sheet_.barcode().Pending());
    } else if (page == EditorSheet::kBarcodePage) {
        if (auto logic = sheet_.barcode().OptionsDialog(buttonId)) {
            RunSymbologyDialog(this->page(page), *logic);
            sheet_.DialogClosed(page);
        }
    }
}

MessageBoxes& EditorSheetDialog::messages() {
    if (messages_) return *messages_;
    if (!ownMessages_) ownMessages_ = std::make_unique<SheetMessageBoxes>(this);
    return *ownMessages_;
}

void EditorSheetDialog::ChooseCopySlot(int page) {
    const bool forms = page == EditorSheet::kFormPage;
    const int count = forms ? kFormCount : kMenuCount;
    const int current = forms ? sheet_.forms().currentForm() : sheet_.menus().currentMenu();
    QStringList choices;
    QList<int> numbers;
    for (int slot = 0; slot < count; ++slot) {
        if (slot == current) continue;
        QString label = Qs(TranslateNumbered(
            "Editor", std::string(forms ? K52_TR("Editor", "表單  ") : K52_TR("Editor", "選單  ")) +
                          std::to_string(slot + 1)));
        if (sheet_.SlotInUse(page, slot))
            label += QStringLiteral("  ") + Translated(K52_TR("EditorPages", "(使用中)"));
        choices << label;
        numbers << slot;
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, Translated(K52_TR("EditorPages", "複製到")),
                              Translated(forms ? K52_TR("EditorPages", "將目前的表單複製到 :")
                                               : K52_TR("EditorPages", "將目前的選單複製到 :")),
                              choices, 0, false, &ok);
    if (!ok) return;
    const int slot = numbers.value(static_cast<int>(choices.indexOf(chosen)), -1);
    if (slot < 0) return;
    binders_[static_cast<std::size_t>(page)]->Apply(sheet_.CopyTo(page, slot, messages()));
}

void EditorSheetDialog::PreviewSample() {
    const QString path = QFileDialog::getOpenFileName(
        this, Translated(K52_TR("EditorPages", "預覽範例檔...")), QString(),
        Translated(K52_TR("EditorPages", "索引資料檔 (*.TXT *.txt);;所有檔案 (*)")));
    if (path.isEmpty()) return;
    auto* ruler = pages_[EditorSheet::kLookupPage]->findChild<QLabel*>(QStringLiteral("lookupRuler"));
    if (!ruler) return;
    ruler->setText(Qs(RulerPreview(sheet_.lookups().shownLayout(), SampleRecords(path))));
}

void EditorSheetDialog::ShowStep(const EditorSheet::StepResult& step) {
    if (step.page < 0) return;
    // The step's page comes to the front first: showing a page for the first time initialises it.
    if (tabs_->currentIndex() != step.page) tabs_->setCurrentIndex(step.page);
    binders_[static_cast<std::size_t>(step.page)]->Apply(step.updates);
}

void EditorSheetDialog::Undo() {
    ShowStep(sheet_.Undo());
}

void EditorSheetDialog::Redo() {
    ShowStep(sheet_.Redo());
}

void EditorSheetDialog::RevertPage() {
    const int index = tabs_->currentIndex();
    binders_[static_cast<std::size_t>(index)]->Apply(sheet_.RevertPage(index));
}

bool EditorSheetDialog::eventFilter(QObject* watched, QEvent* event) {
    // Leaves the undo and redo keys to the sheet's shortcuts rather than the box's own history.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            pressed == QKeySequence(QStringLiteral("Ctrl+Shift+Z")) ||
            pressed == QKeySequence(QStringLiteral("Ctrl+Y")))
            return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EditorSheetDialog::accept() {
    sheet_.Confirm();
    QDialog::accept();
}

void EditorSheetDialog::reject() {
    if (sheet_.RequestCancel(messages())) QDialog::reject();
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
