#include "tools/boxsim/Box.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace boxsim {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kMmPerInch = 25.4;
constexpr int kCountsPerInch = 20480;
}  // namespace

Box::Box(std::vector<ScaleSetup> scales, Motion motion, int startMode)
    : scales_(std::move(scales)), zero_(scales_.size(), 0.0), motion_(motion), mode_(startMode) {}

std::string Box::connectMessages() const {
    std::string out;
    for (const ScaleSetup& s : scales_) out += std::string("C") + s.key + ":";
    return out;
}

std::string Box::infoMessages() const {
    std::string out;
    for (const ScaleSetup& s : scales_) {
        const Format f = effectiveFormat(s);
        const char* type = f == Format::Hex ? "Binary" : "Decimal";
        const char* unit = s.format == Format::Millimetre ? "mm" : "Inch";
        out +=
            std::string("I") + s.key + "," + std::to_string(mode_) + "," + type + "," + unit + ":";
    }
    return out;
}

std::string Box::feed(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        if (pending_.empty()) {
            if (c == 'I' || c == 'S' || c == 'V' || c == 'Z') pending_ = c;
            continue;  // anything else is not a command letter
        }
        out += command(pending_[0], c);
        pending_.clear();
    }
    return out;
}

std::string Box::command(char letter, char argument) {
    switch (letter) {
        case 'I':
            return argument == '0' ? infoMessages() : std::string();
        case 'S':
            // "S0"/"S2" carry digits; the speed codes carry the values 1 and 2 themselves.
            if (argument == '0' || argument == 0) mode_ = 0;
            if (argument == '1' || argument == 1) mode_ = 1;
            if (argument == '2' || argument == 2) mode_ = 2;
            return {};
        case 'V':
            if (argument >= 0 && argument <= 2) type_ = static_cast<TypeChoice>(argument);
            return {};
        case 'Z':
            for (std::size_t i = 0; i < scales_.size(); ++i) {
                if (scales_[i].key != argument) continue;
                zero_[i] = position(i, now_);
                return std::string("R") + argument + ":";
            }
            return {};
        default:
            return {};
    }
}

Format Box::effectiveFormat(const ScaleSetup& s) const {
    switch (type_) {
        case TypeChoice::Hex:
            return Format::Hex;
        case TypeChoice::Decimal:
            return s.format == Format::Hex ? Format::Inch : s.format;
        case TypeChoice::Auto:
            break;
    }
    return s.format;
}

double Box::position(std::size_t i, double t) const {
    const double phase = static_cast<double>(i);
    switch (motion_) {
        case Motion::Still:
            return 12.7 * (phase + 1);
        case Motion::Ramp: {
            // Back and forth between -50 and +50 mm at 10 mm/s.
            const double travel = std::fmod(t * 10.0 + phase * 25.0, 200.0);
            return travel < 100.0 ? travel - 50.0 : 150.0 - travel;
        }
        case Motion::Sine:
            return 30.0 * std::sin(2 * kPi * t / (8.0 + 2.0 * phase) + phase);
    }
    return 0;
}

std::string Box::reading(std::size_t i, double t) const {
    const ScaleSetup& s = scales_[i];
    return std::string(1, s.key) + formatReading(effectiveFormat(s), position(i, t) - zero_[i]) +
           ":";
}

std::string Box::formatReading(Format format, double mm) {
    char text[16];
    switch (format) {
        case Format::Millimetre: {
            const double v = std::clamp(mm, -999.99, 999.99);
            std::snprintf(text, sizeof text, "%c%06.2f", v < 0 ? '-' : '+', std::fabs(v));
            break;
        }
        case Format::Inch: {
            const double v = std::clamp(mm / kMmPerInch, -99.9999, 99.9999);
            std::snprintf(text, sizeof text, "%c%07.4f", v < 0 ? '-' : '+', std::fabs(v));
            break;
        }
        case Format::Hex: {
            // The program reads a count c as -c/20480 inch, so the count is the negated position.
            const auto count = static_cast<int32_t>(std::lround(-mm / kMmPerInch * kCountsPerInch));
            std::snprintf(text, sizeof text, "H%06X", static_cast<unsigned>(count) & 0xFFFFFFu);
            break;
        }
    }
    return text;
}

}  // namespace boxsim
