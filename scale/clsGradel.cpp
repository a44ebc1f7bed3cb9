#include "scale/clsGradel.h"

#include <cstdint>
#include <string>

#include "scale/ErrorDialog.h"
#include "scale/Sfmt.h"
#include "scale/clsScaleControl.h"

namespace gradel {

namespace {

constexpr double kCountsPerInchShifted = 5242880.0;  // 20480 counts to the inch, shifted 8 bits

std::string_view LastChars(std::string_view s, std::size_t n) {
    return s.size() > n ? s.substr(s.size() - n) : s;
}

// A raw 24-bit count "Hhhhhhh": the literal "&H" + digits + "00" puts the count's sign bit in
// the top bit of a 32-bit number V; the sample is (1 - V) / 5242880. 1 - V is worked out in 64
// bits because for the most negative count it does not fit in 32.
float RawSample(std::string_view value) {
    std::string literal;
    literal.reserve(value.size() + 3);
    literal.push_back('&');
    literal.append(value);
    literal.append("00");
    const auto v = static_cast<std::int64_t>(Sfmt::LeadingNumber(literal));
    return static_cast<float>(static_cast<double>(1 - v) / kCountsPerInchShifted);
}

}  // namespace

void clsGradel::ResetAbsolute() {
    absInch_ = 0;
    ClearSamples();
    ResetRelative();
}

void clsGradel::ResetRelative() {
    relZeroInch_ = AbsValueInch();
}

float clsGradel::RelValueMM() const {
    const float inch = absInch_ - relZeroInch_;
    return static_cast<float>(static_cast<double>(inch) * kMMPerInch);
}

void clsGradel::SetRelValueMM(float ValueMM) {
    relZeroInch_ = static_cast<float>(static_cast<double>(absInch_) -
                                      static_cast<double>(ValueMM) / kMMPerInch);
}

float clsGradel::RelValueInch() const {
    return absInch_ - relZeroInch_;
}

void clsGradel::SetRelValueInch(float ValueInch) {
    relZeroInch_ = absInch_ - ValueInch;
}

float clsGradel::AbsValueMM() const {
    return static_cast<float>(static_cast<double>(absInch_) * kMMPerInch);
}

float clsGradel::AbsValueInch() const {
    return absInch_;
}

float clsGradel::SampleFromReading(std::string_view value) {
    if (value.size() >= 5 && value[4] == '.')  // decimal millimetres, "+012.70"
        return static_cast<float>(Sfmt::LeadingNumber(LastChars(value, 7)) / kMMPerInch);
    if (value.size() >= 4 && value[3] == '.')  // decimal inches, "+00.0000"
        return static_cast<float>(Sfmt::LeadingNumber(LastChars(value, 8)));
    if (!value.empty() && value[0] == 'H') return RawSample(value);
    return 0;
}

bool clsGradel::IsReadingValue(std::string_view value) {
    auto only = [&](std::string_view text, std::string_view allowed) {
        return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
    };
    const bool decimal =
        (value.size() >= 5 && value[4] == '.') || (value.size() >= 4 && value[3] == '.');
    if (decimal) return only(value, " +-0123456789.");
    if (!value.empty() && value[0] == 'H')
        return only(value.substr(1), "0123456789ABCDEFabcdef");
    return false;
}

void clsGradel::Setdata(std::string_view sData) {
    float sample = SampleFromReading(sData);
    if (reverse_) sample = -sample;
    AddSample(sample);
    if (control_ == nullptr) throw RunTimeError::ObjectNotSet();
    control_->Refresh(*this);
}

void clsGradel::AddSample(float sample) {
    sampleRing_[static_cast<std::size_t>(sampleIndex_)] = sample;
    if (++sampleIndex_ >= kRingSize) sampleIndex_ = 0;
    float sum = 0;
    for (float slot : sampleRing_) sum += slot;
    absInch_ = sum / static_cast<float>(kRingSize);
}

void clsGradel::ClearSamples() {
    sampleRing_.fill(0);
}

}  // namespace gradel
