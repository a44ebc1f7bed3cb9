#include "scale/DemoMessages.h"

namespace gradel {

namespace {

// letter + key + tail, built by appending (GCC 12 misreads chained operator+ at -O3).
std::string Message(const char* letter, int index, const char* tail) {
    std::string m(letter);
    m.push_back(static_cast<char>('X' + index));
    m.append(tail);
    return m;
}

}  // namespace

std::vector<std::string> DemoAddMessages(int index) {
    return {Message("C", index, ":"), Message("I", index, ",0,Decimal,Inch:"),
            Message("", index, "+00.0000:")};
}

std::string DemoRemoveMessage(int index) {
    return Message("D", index, ":");
}

}  // namespace gradel
