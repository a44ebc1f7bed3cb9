#pragma once
// The keypad poll run by the window's 100 ms timer.
//
// Each poll reads one code (the low four bits of the source's byte). Code 0 releases; a
// non-zero code different from the last one turns into one function-key press F1..F15; the
// same code again does nothing, so a held key gives a single press.
#include <cstdint>
#include <functional>

namespace gradel {

class KeypadSource;

class KeypadPoll {
  public:
    // Receives the function-key number, 1..15.
    using PressFn = std::function<void(int functionKey)>;

    explicit KeypadPoll(KeypadSource* source, PressFn press = &KeypadPoll::postFunctionKey);

    void setSource(KeypadSource* source) { source_ = source; }
    void setPress(PressFn press) { press_ = std::move(press); }
    void poll();
    int16_t lastCode() const { return lastCode_; }

    // Queues a press and a release of F<n> (1..15) to the modal dialog that is up, or else to
    // the widget that has the keyboard focus, or else to the active window, without waiting for
    // them to be handled. Nothing happens when no window of the program is active.
    static void postFunctionKey(int n);

  private:
    KeypadSource* source_;
    PressFn press_;
    int16_t lastCode_ = 0;
};

}  // namespace gradel
