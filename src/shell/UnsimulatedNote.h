// A small note beside the terminal naming what the template uses that the simulated terminal does not
// do, so that a skipped feature is not taken for a fault.
#pragma once

#include <QWidget>
#include <string>

class QLabel;

namespace k52 {

class UnsimulatedNote : public QWidget {
    Q_OBJECT
  public:
    explicit UnsimulatedNote(QWidget* terminal);

    // Shows `description` beside the terminal, unless it is empty or this very text was shown before
    // (dismissed or not): once per template and what it uses.
    void ShowOnce(const std::string& key, const std::string& description);
    QString text() const;

  private:
    QWidget* terminal_;
    QLabel* text_;
    std::string shownFor_;
};

}  // namespace k52
