#pragma once
// Key codes as the function-key menu expects them: the virtual-key codes of the PC keyboard
// (F1 = 112 … F24 = 135, letters 'A'..'Z' = 65..90, digits 48..57, Enter 13, Escape 27, …),
// whatever the toolkit's own key numbering. A keypad wired to the PC speaks the same codes.
#include <Qt>

class QKeyEvent;

namespace gradel::VirtualKey {

constexpr int kF1 = 112;
constexpr int kF12 = kF1 + 11;

// The function key F<n> (1..24).
constexpr int function(int n) {
    return kF1 + n - 1;
}

// What a function key types into a number: F1..F9 the digits 1..9, F10 0, F11 the point; 0 for
// any other key. The keypad alone can enter numbers so.
constexpr char entryCharacter(int code) {
    if (code >= function(1) && code <= function(9)) return static_cast<char>('1' + code - kF1);
    if (code == function(10)) return '0';
    if (code == function(11)) return '.';
    return 0;
}

// The virtual-key code of a toolkit key, or 0 for a key that has none. `keypad` selects the
// numeric-keypad codes for digits and arithmetic keys. Shifted characters of the US layout
// give the code of their key ('!' is the key '1').
int fromQt(int qtKey, bool keypad = false);
int fromEvent(const QKeyEvent& event);

}  // namespace gradel::VirtualKey
