// The widgets of the sheet's pages and of its dialogs, each carrying its control id. They hold no
// behaviour: a ControlBinder connects them to their logic.
#pragma once

class QDialog;
class QWidget;

namespace k52 {

struct SymbologyDialogInfo;

QWidget* BuildFormPage();
QWidget* BuildMenuPage();
QWidget* BuildLookupPage();
QWidget* BuildBarcodePage();
QWidget* BuildStartupPage();
void BuildFieldAttributesDialog(QDialog* dialog);
void BuildSymbologyDialog(QDialog* dialog, const SymbologyDialogInfo& info);

}  // namespace k52
