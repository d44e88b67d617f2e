// Wiring widgets to page logic by control id, in both directions.
#include "editor/ui/ControlBinder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "editor/Tooltips.h"
#include "i18n/Translate.h"

namespace k52 {
namespace {

template <typename W>
W* Tagged(W* w, int id) {
    w->setProperty(kControlIdProperty, id);
    w->setObjectName(QStringLiteral("control%1").arg(id));
    return w;
}

}  // namespace

QString ButtonText(const char* utf8) {
    return Translated(utf8).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString Translated(std::string_view utf8) {
    const std::string_view shown = Translate(utf8);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

QLineEdit* MakeEdit(int id, int widthInBytes) {
    auto* edit = Tagged(new QLineEdit, id);
    QFontMetrics fm(edit->font());
    // A byte is about half an ideograph wide; leave room for the frame and the cursor.
    int width = fm.horizontalAdvance(QString(widthInBytes / 2 + 1, QChar(0x4E2D))) + 14;
    edit->setMinimumWidth(width);
    edit->setMaximumWidth(width + fm.horizontalAdvance(QChar(0x4E2D)) * 2);
    return edit;
}

QComboBox* MakeList(int id) {
    auto* list = Tagged(new QComboBox, id);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setMaxVisibleItems(21);
    return list;
}

QCheckBox* MakeCheck(int id, const char* label) {
    return Tagged(new QCheckBox(ButtonText(label)), id);
}

QRadioButton* MakeRadio(int id, const char* label) {
    auto* radio = Tagged(new QRadioButton(ButtonText(label)), id);
    // The logic decides which button of a group is on, including none.
    radio->setAutoExclusive(false);
    return radio;
}

QPushButton* MakeButton(int id, const char* label) {
    auto* button = Tagged(new QPushButton(ButtonText(label)), id);
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeStatic(int id) {
    return Tagged(new QLabel, id);
}

QLabel* MakeLabel(const char* label) {
    return new QLabel(Translated(label));
}

ControlBinder::ControlBinder(QWidget* root, ControlEvents& logic, QObject* parent)
    : QObject(parent), logic_(logic) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        QVariant idValue = w->property(kControlIdProperty);
        if (!idValue.isValid()) continue;
        int id = idValue.toInt();
        widgets_.insert(id, w);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, id](const QString& text) { Apply(logic_.TextChanged(id, text.toStdString())); });
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            connect(list, &QComboBox::activated, this,
                    [this, id](int index) { Apply(logic_.SelectionChanged(id, index)); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            connect(button, &QAbstractButton::clicked, this, [this, id] { Apply(logic_.Clicked(id)); });
        }
    }
}

void ControlBinder::SetTooltips(std::string_view owner) {
    for (auto it = widgets_.cbegin(); it != widgets_.cend(); ++it) {
        const std::string_view tip = ControlTooltip(owner, it.key());
        if (!tip.empty())
            it.value()->setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
    }
}

QWidget* ControlBinder::widget(int id) const {
    return widgets_.value(id, nullptr);
}

void ControlBinder::Apply(const ControlUpdates& updates) {
    std::vector<int> opens;
    int closeResult = -1;
    for (const ControlUpdate& u : updates) {
        if (u.kind == UpdateKind::Open) {
            opens.push_back(u.id);
            continue;
        }
        if (u.kind == UpdateKind::Close) {
            closeResult = u.value;
            continue;
        }
        QWidget* w = widget(u.id);
        if (!w) continue;
        QSignalBlocker block(w);
        switch (u.kind) {
            case UpdateKind::Text: {
                QString text = QString::fromStdString(u.text);
                if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                    if (edit->text() == text) break;
                    int cursor = edit->cursorPosition();
                    edit->setText(text);
                    edit->setCursorPosition(std::min<int>(cursor, static_cast<int>(text.size())));
                } else if (auto* label = qobject_cast<QLabel*>(w)) {
                    label->setText(Translated(u.text));
                }
                break;
            }
            case UpdateKind::Enabled:
                w->setEnabled(u.value != 0);
                break;
            case UpdateKind::Checked:
                if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setChecked(u.value != 0);
                break;
            case UpdateKind::Selection:
                if (auto* list = qobject_cast<QComboBox*>(w)) list->setCurrentIndex(u.value);
                break;
            case UpdateKind::Items:
                if (auto* list = qobject_cast<QComboBox*>(w)) {
                    list->clear();
                    for (const std::string& item : u.items) list->addItem(QString::fromStdString(item));
                    list->setCurrentIndex(-1);
                }
                break;
            case UpdateKind::Open:
            case UpdateKind::Close:
                break;
        }
    }
    for (int id : opens)
        if (onOpen) onOpen(id);
    if (closeResult >= 0 && onClose) onClose(closeResult);
}

}  // namespace k52
