// What each key of the keypad types.
#include "simulator/Keys.h"

namespace k52 {

int KeyDigit(int key) {
    static const int kDigits[12] = {-1, 7, 8, 9, 4, 5, 6, 1, 2, 3, 0, -1};
    return (key >= 1 && key <= 10) ? kDigits[key] : -1;
}

int DigitKey(int digit) {
    static const int kKeys[10] = {kKeyDigit0, kKeyDigit1, kKeyDigit2, kKeyDigit3, kKeyDigit4,
                                  kKeyDigit5, kKeyDigit6, kKeyDigit7, kKeyDigit8, kKeyDigit9};
    return (digit >= 0 && digit <= 9) ? kKeys[digit] : 0;
}

const char* KeyLetterGroup(int key) {
    static const char* const kGroups[12] = {nullptr, "ABC", "DEF", "GHI", "JKL", "MNO",
                                            "PQR",   "STU", "VWX", "YZ*", "+$/", "-%:"};
    return (key >= 1 && key <= 11) ? kGroups[key] : nullptr;
}

}  // namespace k52
