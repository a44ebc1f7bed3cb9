#pragma once
// Where the keypad's codes come from: one read gives the raw byte of the keypad port; the poll
// uses its low four bits (0 = no key, 1..15 = a key).
#include <cstdint>

namespace gradel {

class KeypadSource {
  public:
    virtual ~KeypadSource() = default;
    virtual uint8_t read() = 0;
};

}  // namespace gradel
