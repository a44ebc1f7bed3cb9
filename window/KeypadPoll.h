#pragma once
// The keypad poll run by the window's 100 ms timer.
//
// Each tick reads one code (the low four bits of the source's byte). Code 0 releases; a
// non-zero code different from the last one turns into one function-key press F1..F15; the
// same code again does nothing, so a held key gives a single press.
#include <cstdint>
#include <functional>

class IKeypadSource;

class KeypadPoll {
  public:
    // Receives the function-key number, 1..15.
    using PressFn = std::function<void(int functionKey)>;

    explicit KeypadPoll(IKeypadSource* source, PressFn press = &KeypadPoll::PostFunctionKey);

    void SetSource(IKeypadSource* source) { source_ = source; }
    void SetPress(PressFn press) { press_ = std::move(press); }
    void Tick();
    int16_t LastKeypadCode() const { return LastKeypadCode_; }

    // Queues a press and a release of F<n> (1..15) to the widget that has the keyboard focus,
    // or else to the active window, without waiting for them to be handled. Nothing happens
    // when no window of the program is active.
    static void PostFunctionKey(int n);
    // Qt's key for F<n>.
    static int QtKeyForFunction(int n);

  private:
    IKeypadSource* source_;
    PressFn press_;
    int16_t LastKeypadCode_ = 0;
};
