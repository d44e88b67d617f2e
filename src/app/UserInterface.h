// What the core asks of whoever faces the user: the desktop program, k52cli or a test. The core says
// what to show (exact text, title, icon, buttons); the front end shows it. Texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace k52 {

enum class MessageIcon { None, Exclamation, Question, Warning, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons) = 0;
    // The same box with the reason behind it underneath (why a port would not open); a front end without
    // room for it shows the box alone.
    virtual MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                              MessageButtons buttons, std::string_view /*detail*/) {
        return ShowMessage(text, title, icon, buttons);
    }
};

// The open and save dialogs for template files. An empty optional means the user cancelled.
class TemplateFileDialogs {
  public:
    virtual ~TemplateFileDialogs() = default;
    virtual std::optional<std::string> ChooseTemplateToOpen() = 0;
    // The dialog adds the default extension "ATC" to a name typed without one, as a save dialog does.
    virtual std::optional<std::string> ChooseTemplateToSave() = 0;
};

}  // namespace k52
