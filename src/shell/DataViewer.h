// The window that shows a data file of collected records: decoded from CP950, split at the template's
// separators, numbered, with copy, save as CSV and open.
#pragma once

#include <QString>
#include <QWidget>

#include "app/UserInterface.h"
#include "template/Template.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace k52 {

class RecordTableModel;

class DataViewer : public QWidget {
    Q_OBJECT
  public:
    // Messages about files go to `messages`, which outlives the window.
    DataViewer(const FieldSeparators& separators, MessageBoxes& messages, QWidget* parent = nullptr);

    // Shows the file; false (after saying so) when it cannot be read.
    bool Open(const QString& path);
    // Writes the fields as CSV, replacing the file only once all of it is written; the byte-order mark and
    // the formula guard as the two switches say (both on at first, as k52cli's export).
    bool SaveCsv(const QString& path);
    // Puts the selected cells (or, with none, every cell) on the clipboard, tab between fields.
    void Copy();
    void SetRaw(bool raw);

    const QString& path() const { return path_; }
    RecordTableModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    QCheckBox* rawSwitch() const { return raw_; }
    QCheckBox* bomSwitch() const { return bom_; }
    QCheckBox* rawCellsSwitch() const { return rawCells_; }
    QPushButton* openButton() const { return openButton_; }
    QPushButton* copyButton() const { return copyButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QLabel* countLabel() const { return count_; }

  private:
    void ChooseAndOpen();
    void ChooseAndSave();

    FieldSeparators separators_;
    MessageBoxes& messages_;
    QString path_;
    RecordTableModel* model_;
    QTableView* view_;
    QCheckBox* raw_;
    QCheckBox* bom_;
    QCheckBox* rawCells_;
    QPushButton* openButton_;
    QPushButton* copyButton_;
    QPushButton* saveButton_;
    QLabel* count_;
};

}  // namespace k52
