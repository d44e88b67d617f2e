// The device chooser of the port settings window: the host's ports as "DESCRIPTION — PATH", any path
// typed in, a refresh button, and a line that says when the device is not connected or is fixed by the
// environment.
#pragma once

#include <QWidget>
#include <string>

#include "ports/PortDiscovery.h"
#include "ports/PortResolver.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace k52 {

class PortDeviceChooser : public QWidget {
    Q_OBJECT
  public:
    PortDeviceChooser(PortScanner& scanner, QWidget* parent);

    QComboBox* deviceBox() const { return box_; }
    QPushButton* refreshButton() const { return refresh_; }
    QLabel* statusLabel() const { return status_; }

    // Shows COMn's device: `chosen` (empty: none assigned, so `resolved.device` is only the placeholder),
    // or the environment's override, read-only.
    void ShowPort(int comPort, const ComPortResolution& resolved, const std::string& chosen);
    // The path of the chosen entry, or the text typed, without surrounding spaces; empty for none.
    std::string ChosenPath() const;
    // Lists the host's ports again, keeping what is chosen or typed.
    void Refresh();

  private:
    void SetChosen(const std::string& path);
    void UpdateStatus();

    PortScanner& scanner_;
    QComboBox* box_;
    QPushButton* refresh_;
    QLabel* status_;
    std::string fixedBy_;  // the environment variable that overrides the port, when one does
};

}  // namespace k52
