// The keypad's key codes and what each key types.
#pragma once

namespace k52 {

// The digit keys are laid out like a calculator.
constexpr int kKeyDigit7 = 1;   // also A B C
constexpr int kKeyDigit8 = 2;   // D E F
constexpr int kKeyDigit9 = 3;   // G H I
constexpr int kKeyDigit4 = 4;   // J K L
constexpr int kKeyDigit5 = 5;   // M N O
constexpr int kKeyDigit6 = 6;   // P Q R
constexpr int kKeyDigit1 = 7;   // S T U
constexpr int kKeyDigit2 = 8;   // V W X
constexpr int kKeyDigit3 = 9;   // Y Z *
constexpr int kKeyDigit0 = 10;  // + $ /
constexpr int kKeyPoint = 11;   // - % :
constexpr int kKeyEnter = 12;
constexpr int kKeyBackspace = 13;
constexpr int kKeySpace = 14;
constexpr int kKeyUp = 15;
constexpr int kKeyDown = 16;
constexpr int kKeyAlpha = 17;
constexpr int kKeyFunction = 18;
constexpr int kKeyEsc = 19;
constexpr int kKeyPower = 20;
constexpr int kKeyCount = 20;
constexpr int kRestartCode = 51;  // sent after the editor applies changes

// The digit a key carries (0..9), or -1 for a key without one.
int KeyDigit(int key);
// The key that carries digit d (0..9), or 0.
int DigitKey(int digit);
// The three characters a digit or point key gives in alpha mode, or nullptr.
const char* KeyLetterGroup(int key);

}  // namespace k52
