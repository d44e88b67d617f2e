// The about box: it closes only by its button or the Enter key, with result 1.
#pragma once

#include <QDialog>

class QPushButton;

namespace k52 {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* owner);
    QPushButton* okButton() const { return ok_; }

    void reject() override {}  // Escape does nothing

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* ok_;
};

}  // namespace k52
