#pragma once
// Key codes as the key handlers expect them: the classic virtual-key codes of the PC keyboard
// (F1 = 112 … F24 = 135, letters 'A'..'Z' = 65..90, digits 48..57, Enter 13, Escape 27, ...),
// whatever the toolkit's own key numbering, and the shift state as a bit set.
#include <Qt>

class QKeyEvent;

namespace gradel::VirtualKey {

constexpr int kF1 = 112;
constexpr int kF12 = 123;


// Shift-state bits passed with a key.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// The virtual-key code of a toolkit key, or 0 for a key that has none. `keypad` selects the
// numeric-keypad codes for digits and arithmetic keys. Shifted characters of the US layout
// give the code of their key ('!' is the key '1').
int FromQt(int qtKey, bool keypad = false);
int ShiftState(Qt::KeyboardModifiers modifiers);

// Both of the above for one key event.
int FromEvent(const QKeyEvent& event);
int ShiftState(const QKeyEvent& event);

}  // namespace gradel::VirtualKey
