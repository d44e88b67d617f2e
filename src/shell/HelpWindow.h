// Help for someone new to the program: the README and the template format in a window of their own, and
// the one-line hint on how to begin that the first start shows beside the terminal.
#pragma once

#include <QWidget>

class QTabWidget;

namespace k52 {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent);
    QTabWidget* pages() const { return pages_; }

  private:
    QTabWidget* pages_;
};

// Shows the hint beside `terminal` unless an earlier start has shown it; returns the hint, or nullptr.
QWidget* ShowFirstStartHint(QWidget* terminal);

}  // namespace k52
