#include "scale/DemoMessages.h"

namespace gradel {

namespace {

// letter + key + tail, built by appending (GCC 12 misreads chained operator+ at -O3).
std::string message(const char* letter, int index, const char* tail) {
    std::string m(letter);
    m.push_back(static_cast<char>('X' + index));
    m.append(tail);
    return m;
}

}  // namespace

std::vector<std::string> demoAddMessages(int index) {
    return {message("C", index, ":"), message("I", index, ",0,Decimal,Inch:"),
            message("", index, "+00.0000:")};
}

std::string demoRemoveMessage(int index) {
    return message("D", index, ":");
}

}  // namespace gradel
