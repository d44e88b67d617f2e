// Shows a page's control updates the way a dialog would, so tests read what the user would see.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "editor/ControlLogic.h"

namespace k52::test {

struct FakeControl {
    std::string text;
    bool enabled = true;
    bool checked = false;
    int selection = -1;
    std::vector<std::string> items;
};

class FakeScreen {
  public:
    explicit FakeScreen(ControlLogic& logic) : logic_(&logic), events_(logic) {}
    // Reports to `events` (the sheet in front of a page); its pages are initialised by the sheet.
    explicit FakeScreen(ControlEvents& events) : events_(events) {}

    void Apply(const ControlUpdates& updates) {
        for (const ControlUpdate& u : updates) {
            FakeControl& c = controls_[u.id];
            switch (u.kind) {
                case UpdateKind::Text:
                    c.text = u.text;
                    break;
                case UpdateKind::Enabled:
                    c.enabled = u.value != 0;
                    break;
                case UpdateKind::Checked:
                    c.checked = u.value != 0;
                    break;
                case UpdateKind::Selection:
                    c.selection = u.value;
                    break;
                case UpdateKind::Items:
                    c.items = u.items;
                    break;
                case UpdateKind::Open:
                    opened.push_back(u.id);
                    break;
                case UpdateKind::Close:
                    closed = u.value;
                    break;
            }
        }
    }
    FakeScreen& Init() {
        Apply(logic_->Initialise());
        return *this;
    }
    void Type(int id, const std::string& utf8) {
        controls_[id].text = utf8;
        Apply(events_.TextChanged(id, utf8));
    }
    void Choose(int id, int index) {
        controls_[id].selection = index;
        Apply(events_.SelectionChanged(id, index));
    }
    void Click(int id) { Apply(events_.Clicked(id)); }

    const FakeControl& operator[](int id) { return controls_[id]; }
    const std::string& text(int id) { return controls_[id].text; }
    bool enabled(int id) { return controls_[id].enabled; }
    bool checked(int id) { return controls_[id].checked; }
    int selection(int id) { return controls_[id].selection; }
    // The entry a list shows, or "" when it shows none.
    std::string shown(int id) {
        const FakeControl& c = controls_[id];
        return c.selection >= 0 && c.selection < static_cast<int>(c.items.size())
                   ? c.items[static_cast<std::size_t>(c.selection)]
                   : "";
    }

    std::vector<int> opened;
    int closed = -1;

  private:
    ControlLogic* logic_ = nullptr;
    ControlEvents& events_;
    std::map<int, FakeControl> controls_;
};

// Bytes of a field, for comparing against hand-worked values.
template <std::size_t N>
std::vector<int> Bytes(const unsigned char (&field)[N]) {
    return std::vector<int>(field, field + N);
}

}  // namespace k52::test
