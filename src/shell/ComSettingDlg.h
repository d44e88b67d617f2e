// The port settings dialog: which port (COM1..COM6, each shown with the host device it maps to) and
// which speed. OK stores both choices into the template's port settings and ends with 1; Cancel ends
// with 0 and changes nothing. Neither marks the template modified.
#pragma once

#include <QDialog>

#include "template/Template.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace k52 {

class ComSettingDlg : public QDialog {
    Q_OBJECT
  public:
    ComSettingDlg(QWidget* owner, PortSettings& settings);

    QComboBox* portList() const { return ports_; }    // control 701
    QComboBox* speedList() const { return speeds_; }  // control 702
    QLabel* deviceLabel() const { return device_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void Confirm();

    PortSettings& settings_;
    QComboBox* ports_;
    QComboBox* speeds_;
    QLabel* device_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Opens the dialog modally and returns its result.
int RunComSettingDlg(QWidget* owner, PortSettings& settings);

}  // namespace k52
