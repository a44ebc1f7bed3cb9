#pragma once
// The keypad wired to I/O port 544 (0x220). On Linux x86 the port is read through /dev/port,
// which needs privileges; when it cannot be opened, or elsewhere, every read gives 0 (no key)
// and no error is raised.
#include "window/KeypadSource.h"

namespace gradel {

class PortKeypadSource : public KeypadSource {
  public:
    static constexpr long kPort = 544;

    explicit PortKeypadSource(const char* device = "/dev/port");
    ~PortKeypadSource() override;
    PortKeypadSource(const PortKeypadSource&) = delete;
    PortKeypadSource& operator=(const PortKeypadSource&) = delete;

    uint8_t read() override;
    bool isOpen() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace gradel
