// The behaviour of one editor page or dialog, stated without any widget: events come in addressed by
// control id, and the answer is a list of updates for the controls. A front end (the Qt sheet, or a test)
// shows the updates and reports what the user does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "template/Template.h"

namespace k52 {

enum class UpdateKind {
    Text,       // text of an edit box or a static label, UTF-8
    Enabled,    // value 0 or 1
    Checked,    // check box or radio button, value 0 or 1
    Selection,  // list entry, value 0-based or -1 for none
    Items,      // list contents
    Open,       // the button `id` asks its owner to open the dialog behind it
    Close,      // a dialog ends with the result in value (1 OK, 0 Cancel)
};

struct ControlUpdate {
    UpdateKind kind;
    int id = 0;
    int value = 0;
    std::string text;
    std::vector<std::string> items;
};

using ControlUpdates = std::vector<ControlUpdate>;

// Standard ids of a dialog's closing buttons.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// What a front end reports of its controls: a page or dialog itself, or the sheet in front of a page.
class ControlEvents {
  public:
    virtual ~ControlEvents() = default;
    virtual ControlUpdates TextChanged(int id, std::string_view utf8) = 0;
    virtual ControlUpdates SelectionChanged(int id, int index) = 0;
    virtual ControlUpdates Clicked(int id) = 0;
};

class ControlLogic : public ControlEvents {
  public:
    ControlUpdates Initialise();
    ControlUpdates TextChanged(int id, std::string_view utf8) override;
    ControlUpdates SelectionChanged(int id, int index) override;
    ControlUpdates Clicked(int id) override;

  protected:
    // Runs `handler` and returns the updates it made, the corrections' echoes included.
    template <typename F>
    ControlUpdates Run(F&& handler);

    virtual void OnInitialise() = 0;
    virtual void OnTextChanged(int /*id*/, std::string_view /*utf8*/) {}
    virtual void OnSelectionChanged(int /*id*/, int /*index*/) {}
    virtual void OnClicked(int /*id*/) {}

    // Shows a value; the box does not report it back.
    void ShowText(int id, std::string utf8);
    void ShowCp950(int id, std::string_view cp950);
    // Corrects what the user typed; the corrected text then arrives as a change of its own, the way an
    // edit box reports every change of its text.
    void ReplaceText(int id, std::string utf8);
    void Enable(int id, bool on);
    void Check(int id, bool on);
    // Selects `value` when it is a position of the list, otherwise nothing.
    void Select(int id, int value, int count);
    void Fill(int id, std::vector<std::string> items);
    // The same for entries already in the chosen language (they hold the user's own texts).
    void FillShown(int id, std::vector<std::string> items);
    void RequestOpen(int id);
    void Close(int result);

    // A text box limited to `limit` CP950 bytes. Characters CP950 cannot hold are dropped and a longer
    // text is cut without splitting a character; in both cases the box is corrected (the correction
    // arrives later as its own change) and nullopt is returned. Otherwise the text's CP950 bytes.
    std::optional<std::string> AcceptText(int id, std::string_view utf8, std::size_t limit);
    // A number box held in one byte. A text that is not a number stores 0 and the box is corrected to
    // "0" (an empty box stays empty); a number above `limit` leaves the byte as it was.
    void AcceptNumber(int id, std::string_view utf8, std::uint8_t& field, std::uint32_t limit);

  private:
    // Every correction converges within a few rounds; the bound only protects against a faulty page.
    static constexpr int kMaxEchoes = 32;

    ControlUpdates updates_;
    std::deque<std::pair<int, std::string>> echoes_;
};

template <typename F>
ControlUpdates ControlLogic::Run(F&& handler) {
    updates_.clear();
    echoes_.clear();
    handler();
    for (int round = 0; round < kMaxEchoes && !echoes_.empty(); ++round) {
        auto [id, text] = std::move(echoes_.front());
        echoes_.pop_front();
        OnTextChanged(id, text);
    }
    echoes_.clear();
    return std::move(updates_);
}

// A page's working state, as undo, redo and revert put it back: its bytes, and the record it shows.
struct PageState {
    std::string bytes;
    int current = 0;
};

// A page of the editor sheet: it edits the template only through its commit.
class SheetPage : public ControlLogic {
  public:
    virtual void Commit() = 0;
    virtual void Discard() = 0;
    virtual PageState State() const = 0;
    // Puts a state taken earlier back and shows it.
    ControlUpdates Restore(const PageState& state);

  protected:
    virtual void OnRestore(const PageState& state) = 0;
};

// The bytes of a plain record, and back.
template <typename T>
std::string BytesOf(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}
template <typename T>
void ReadBytes(std::string_view bytes, std::size_t offset, T& value) {
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
}

// A box's text read as an unsigned decimal number: optional leading blanks, then digits only. Numbers too
// large for 32 bits read as 4294967295.
std::optional<std::uint32_t> ParseBoxNumber(std::string_view text);

// List contents shared by several pages.
constexpr int kTargetCount = 21;        // the main menu, 10 forms, 10 menus
std::vector<std::string> TargetList();  // their labels, by TargetCode
// The same in the chosen language, each menu named with its title when it has one ("Menu 2: Receiving").
std::vector<std::string> TitledTargetList(const MenuRecord (&menus)[kMenuCount]);
std::vector<std::string> NumberedList(std::string_view prefix, int first, int last);

}  // namespace k52
