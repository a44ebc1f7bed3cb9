#pragma once
// Where the keypad's codes come from: one read gives the raw byte of the keypad port; the
// poll uses its low four bits (0 = no key, 1..15 = a key).
#include <cstdint>

class IKeypadSource {
  public:
    virtual ~IKeypadSource() = default;
    virtual uint8_t Read() = 0;
};
