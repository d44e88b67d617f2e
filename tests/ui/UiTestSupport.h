// Stand-ins for what a person answers in the desktop program's boxes and dialogs.
#pragma once

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "template/UserInterface.h"

namespace k52::test {

struct Shown {
    std::string text, title;
    MessageIcon icon;
    MessageButtons buttons;
    std::string detail = {};
};

// Answers message boxes from a script; an empty script answers OK, or Cancel (No for Yes/No).
class ScriptedMessages : public MessageBoxes {
  public:
    std::deque<MessageAnswer> answers;
    std::vector<Shown> shown;
    std::function<void(const Shown&)> onShow;  // runs before the answer, e.g. to look at the screen

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override {
        shown.push_back({std::string(text), std::string(title), icon, buttons});
        if (onShow) onShow(shown.back());
        if (!answers.empty()) {
            MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
            case MessageButtons::Ok:
                return MessageAnswer::Ok;
            case MessageButtons::YesNo:
                return MessageAnswer::No;
            case MessageButtons::YesNoCancel:
                return MessageAnswer::Cancel;
        }
        return MessageAnswer::Cancel;
    }
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override {
        const MessageAnswer answer = ShowMessage(text, title, icon, buttons);
        shown.back().detail = detail;
        return answer;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Shown& s : shown) out.push_back(s.text);
        return out;
    }
};

class ScriptedFileDialogs : public TemplateFileDialogs {
  public:
    std::optional<std::string> openAnswer, saveAnswer;
    int opens = 0, saves = 0;
    std::optional<std::string> ChooseTemplateToOpen() override {
        ++opens;
        return openAnswer;
    }
    std::optional<std::string> ChooseTemplateToSave() override {
        ++saves;
        return saveAnswer;
    }
};

// Counts the pixels of `color` inside `r` of `image`.
inline int CountPixels(const QImage& image, const QRect& r, QRgb color) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) ++n;
    return n;
}

// True when `r` of `image` shows `picture` pixel for pixel.
inline bool ShowsPicture(const QImage& image, QPoint at, const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((image.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

// Runs `check` on the next modal window that opens, from inside that window's event loop; `check`
// closes it. Gives up after `tries` turns of the event loop.
inline void OnNextModal(std::function<void(QWidget*)> check, int tries = 10000) {
    QMetaObject::invokeMethod(
        qApp,
        [check, tries] {
            if (QWidget* w = QApplication::activeModalWidget())
                check(w);
            else if (tries > 0)
                OnNextModal(check, tries - 1);
        },
        Qt::QueuedConnection);
}

}  // namespace k52::test
