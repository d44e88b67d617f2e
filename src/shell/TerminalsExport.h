// The Terminals window's "Export shift...": a window of time, the file (its format by its name) and the
// template to cut the records at, made into the file `k52cli export` makes.
#pragma once

#include <QDialog>

#include "app/ShiftExport.h"

class QCheckBox;
class QDateTimeEdit;
class QDialogButtonBox;
class QLineEdit;

namespace k52 {

class ShiftExportDialog : public QDialog {
    Q_OBJECT
  public:
    // Starts on the collection folder `folder`, from this day's start until now.
    ShiftExportDialog(const QString& folder, QWidget* parent);
    ShiftExportRequest Request() const;

    QLineEdit* folderEdit() const { return folder_; }
    QLineEdit* outEdit() const { return out_; }
    QLineEdit* templateEdit() const { return template_; }
    QDateTimeEdit* sinceEdit() const { return since_; }
    QDateTimeEdit* untilEdit() const { return until_; }
    QCheckBox* bomSwitch() const { return bom_; }
    QCheckBox* rawCellsSwitch() const { return raw_; }
    QDialogButtonBox* buttons() const { return buttons_; }

  private:
    void Changed();

    QLineEdit *folder_, *out_, *template_;
    QDateTimeEdit *since_, *until_;
    QCheckBox *bom_, *raw_;
    QDialogButtonBox* buttons_;
};

}  // namespace k52
