// The port settings dialog: which port (COM1..COM6, each shown with the host device it maps to), which
// speed, and which device the selected port stands for. OK stores the port and speed into the template's
// port settings and the devices into the user's assignment file, and ends with 1; Cancel ends with 0 and
// changes nothing. Neither marks the template modified.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "app/UserInterface.h"
#include "ports/PortDiscovery.h"
#include "ports/PortResolver.h"
#include "template/Template.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace k52 {

class PortDeviceChooser;

class PortSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // `scanner` and `messages` nullptr: the host's ports and the desktop's message boxes.
    PortSettingsDialog(QWidget* owner, PortSettings& settings, PortScanner* scanner = nullptr,
                       MessageBoxes* messages = nullptr);
    ~PortSettingsDialog() override;

    QComboBox* portList() const { return ports_; }    // control 701
    QComboBox* speedList() const { return speeds_; }  // control 702
    QLabel* deviceLabel() const { return device_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    PortDeviceChooser* deviceChooser() const { return chooser_; }

  private:
    void BuildLists();
    void BuildDeviceLabel();
    void LayOut(QLabel* warningText);
    void Confirm();
    void ShowDeviceOf(int comPort);
    // Writes the changed assignments; false (after saying why) when they could not be stored.
    bool StoreAssignments();

    PortSettings& settings_;
    std::unique_ptr<PortScanner> ownScanner_;
    std::unique_ptr<MessageBoxes> ownMessages_;
    MessageBoxes* messages_;
    std::string confPath_;
    PortsConf conf_;
    std::array<std::string, kComPortCount> chosen_;  // the device chosen for each port; empty: none
    int shownPort_ = -1;
    PortDeviceChooser* chooser_;
    QComboBox* ports_;
    QComboBox* speeds_;
    QLabel* device_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Opens the dialog modally and returns its result.
int RunPortSettingsDialog(QWidget* owner, PortSettings& settings, MessageBoxes* messages = nullptr);

}  // namespace k52
