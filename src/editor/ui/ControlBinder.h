// Connects a set of widgets to the logic of a page or dialog by control id: the widgets report what the
// user does, and the logic's answers are shown on them. Every page and dialog is wired by this one class.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <string_view>

#include "editor/ControlLogic.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace k52 {

// The dynamic property that holds a widget's control id.
inline constexpr char kControlIdProperty[] = "controlId";

// Widgets created with their control id. Labels are UTF-8, the program's own texts, shown translated.
QLineEdit* MakeEdit(int id, int widthInBytes);
QComboBox* MakeList(int id);
QCheckBox* MakeCheck(int id, const char* label);
QRadioButton* MakeRadio(int id, const char* label);
QPushButton* MakeButton(int id, const char* label);
QLabel* MakeStatic(int id);
// A plain label (no id).
QLabel* MakeLabel(const char* label);
// Button text with '&' shown as itself rather than as a shortcut mark.
QString ButtonText(const char* utf8);
// One of the program's own texts in the chosen language.
QString Translated(std::string_view utf8);

class ControlBinder : public QObject {
    Q_OBJECT
  public:
    // Binds every widget under `root` that carries a control id.
    ControlBinder(QWidget* root, ControlEvents& logic, QObject* parent = nullptr);

    void Apply(const ControlUpdates& updates);
    QWidget* widget(int id) const;
    // Every control's tip from the tooltip table, under `owner`'s name.
    void SetTooltips(std::string_view owner);

    // Called when the logic asks for the dialog behind a button, and when a dialog's logic closes it.
    std::function<void(int id)> onOpen;
    std::function<void(int result)> onClose;

  private:
    ControlEvents& logic_;
    QHash<int, QWidget*> widgets_;
};

}  // namespace k52
