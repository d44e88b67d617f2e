// Key scripts: the keys and clock ticks a session gives the terminal, as `k52cli simulate --keys` reads
// them and as the desktop records them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace k52 {

// One step of a script: a key code (1..20, or the restart code), some 100 ms clock ticks, or a mark
// that names the point between two steps (written "@NAME"), where expectations can look at the screen.
struct KeyStep {
    enum Kind { Key, Ticks, Mark };
    Kind kind = Key;
    int value = 0;
    std::string mark;
};

// Codes and tokens separated by spaces, commas or line ends: "7", "t12" (or "t" for one tick), "@name".
// nullopt with `bad` set to the first token that is none of them.
std::optional<std::vector<KeyStep>> ParseKeyScript(std::string_view text, std::string* bad = nullptr);

// Collects what the terminal takes, in the script's own words; neighbouring ticks are summed.
class KeyScriptRecorder {
  public:
    void Key(int code);
    void Ticks(int count);
    // The script so far, a few dozen tokens to a line, ending with a line end.
    std::string Text() const;
    int keyCount() const { return keys_; }

  private:
    std::vector<KeyStep> steps_;
    int keys_ = 0;
};

}  // namespace k52
