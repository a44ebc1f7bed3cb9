#include "window/PortKeypadSource.h"

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#define GRADEL_HAS_IO_PORTS 1
#include <fcntl.h>
#include <unistd.h>
#endif

namespace gradel {

PortKeypadSource::PortKeypadSource([[maybe_unused]] const char* device) {
#ifdef GRADEL_HAS_IO_PORTS
    fd_ = ::open(device, O_RDONLY | O_CLOEXEC);
#endif
}

PortKeypadSource::~PortKeypadSource() {
#ifdef GRADEL_HAS_IO_PORTS
    if (fd_ >= 0) ::close(fd_);
#endif
}

uint8_t PortKeypadSource::read() {
#ifdef GRADEL_HAS_IO_PORTS
    if (fd_ < 0) return 0;
    unsigned char byte = 0;
    if (::pread(fd_, &byte, 1, kPort) != 1) return 0;
    return byte;
#else
    return 0;
#endif
}

}  // namespace gradel
