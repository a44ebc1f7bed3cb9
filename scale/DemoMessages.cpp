#include "scale/DemoMessages.h"

namespace gradel {

namespace {
std::string DemoKey(int index) { return std::string(1, static_cast<char>('X' + index)); }
}  // namespace

std::vector<std::string> DemoAddMessages(int index) {
    const std::string key = DemoKey(index);
    return {"C" + key + ":", "I" + key + ",0,Decimal,Inch:", key + "+00.0000:"};
}

std::string DemoRemoveMessage(int index) { return "D" + DemoKey(index) + ":"; }

}  // namespace gradel
