#include "scale/Scale.h"

#include <cstdint>
#include <string>

#include "scale/TextFields.h"

namespace gradel {

namespace {

constexpr double kCountsPerInchShifted = 5242880.0;  // 20480 counts to the inch, shifted 8 bits

std::string_view lastChars(std::string_view s, std::size_t n) {
    return s.size() > n ? s.substr(s.size() - n) : s;
}

// A raw 24-bit count "Hhhhhhh": the literal "&H" + digits + "00" puts the count's sign bit in
// the top bit of a 32-bit number V; the sample is (1 - V) / 5242880. 1 - V is worked out in 64
// bits because for the most negative count it does not fit in 32.
float rawSample(std::string_view value) {
    std::string literal;
    literal.reserve(value.size() + 3);
    literal.push_back('&');
    literal.append(value);
    literal.append("00");
    const auto v = static_cast<std::int64_t>(TextFields::leadingNumber(literal));
    return static_cast<float>(static_cast<double>(1 - v) / kCountsPerInchShifted);
}

// The three shapes a reading value comes in, told apart as the box writes them.
bool isMmReading(std::string_view value) {  // "+012.70"
    return value.size() >= 5 && value[4] == '.';
}
bool isInchReading(std::string_view value) {  // "+01.2500"
    return value.size() >= 4 && value[3] == '.';
}
bool isCountReading(std::string_view value) {  // "H000100"
    return !value.empty() && value[0] == 'H';
}

}  // namespace

float Scale::shownOrigin() const {
    const float origin = origins_[static_cast<std::size_t>(point_)];
    return reversed_ ? -origin : origin;
}

void Scale::setShownOrigin(float inch) {
    origins_[static_cast<std::size_t>(point_)] = reversed_ ? -inch : inch;
}

void Scale::setRelativeInch(float inch) {
    setShownOrigin(absInch_ - inch);
}

void Scale::setRelativeMm(float mm) {
    setShownOrigin(
        static_cast<float>(static_cast<double>(absInch_) - static_cast<double>(mm) / kMmPerInch));
}

void Scale::resetAbsolute() {
    const float countedInch = reversed_ ? -absInch_ : absInch_;
    for (float& origin : origins_) origin -= countedInch;
    absInch_ = 0;
    readings_.fill(0);
    resetRelative();
}

void Scale::resetRelative() {
    setShownOrigin(absInch_);
}

void Scale::setZeroPoint(int point) {
    if (point >= 0 && point < kZeroPoints) point_ = point;
}

// The nine slots are summed in float, in slot order: a double sum rounds some readings
// differently, and the readout has always shown the float average.
void Scale::addReading(std::string_view value) {
    float sample = sampleFromReading(value);
    if (reversed_) sample = -sample;
    readings_[static_cast<std::size_t>(next_)] = sample;
    if (++next_ >= kAveraged) next_ = 0;
    float sum = 0;
    for (float reading : readings_) sum += reading;
    absInch_ = sum / static_cast<float>(kAveraged);
    ++readingCount_;
}

float Scale::sampleFromReading(std::string_view value) {
    if (isMmReading(value))
        return static_cast<float>(TextFields::leadingNumber(lastChars(value, 7)) / kMmPerInch);
    if (isInchReading(value))
        return static_cast<float>(TextFields::leadingNumber(lastChars(value, 8)));
    if (isCountReading(value)) return rawSample(value);
    return 0;
}

bool Scale::isReadingValue(std::string_view value) {
    auto only = [](std::string_view text, std::string_view allowed) {
        return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
    };
    if (isMmReading(value) || isInchReading(value)) return only(value, " +-0123456789.");
    if (isCountReading(value)) return only(value.substr(1), "0123456789ABCDEFabcdef");
    return false;
}

}  // namespace gradel
