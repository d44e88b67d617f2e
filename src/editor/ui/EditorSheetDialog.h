// The editor sheet on the desktop: "Application Template", five tabs, OK and Cancel.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "editor/EditorSheet.h"

class QTabWidget;

namespace k52 {

class ControlBinder;

// Opens the sheet modally over `owner`; 1 after OK, 0 after Cancel.
int OpenEditorSheet(QWidget* owner, TemplateDocument& doc, EditorHost& host);

// A dialog whose behaviour is a ControlLogic: its buttons 1 and 2, Escape and the close box all go
// through the logic, which closes it.
class LogicDialog : public QDialog {
    Q_OBJECT
  public:
    LogicDialog(QWidget* owner, ControlLogic& logic);
    // Binds the widgets built so far and shows the logic's initial state.
    void Bind();
    ControlBinder* binder() const { return binder_; }
    // The tooltip table's name for this dialog; set before Bind.
    void setTooltipOwner(std::string_view owner) { tooltipOwner_ = owner; }
    void reject() override;

  private:
    ControlLogic& logic_;
    std::string_view tooltipOwner_;
    ControlBinder* binder_ = nullptr;
};

int RunFieldAttributesDialog(QWidget* owner, FieldAttributesDialog& logic);
int RunSymbologyDialog(QWidget* owner, SymbologyDialog& logic);

class EditorSheetDialog : public QDialog {
    Q_OBJECT
  public:
    EditorSheetDialog(QWidget* owner, TemplateDocument& doc, EditorHost& host);

    QTabWidget* tabs() const { return tabs_; }
    QWidget* page(int index) const;
    EditorSheet& sheet() { return sheet_; }
    void accept() override;
    // Esc, Cancel and the close box: asks first when something was changed.
    void reject() override;
    void Undo();
    void Redo();
    void RevertPage();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowPage(int index);
    void OpenFromPage(int page, int buttonId);
    void ChooseCopySlot(int page);
    void PreviewSample();
    void ShowStep(const EditorSheet::StepResult& step);
    MessageBoxes& messages();

    EditorSheet sheet_;
    EditorHost& host_;
    MessageBoxes* messages_;
    std::unique_ptr<MessageBoxes> ownMessages_;
    QTabWidget* tabs_;
    std::array<QWidget*, EditorSheet::kPageCount> pages_{};
    std::array<ControlBinder*, EditorSheet::kPageCount> binders_{};
};

}  // namespace k52
