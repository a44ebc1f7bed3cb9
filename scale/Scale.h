#pragma once
// One scale on the interface box: its identity as the box reported it, its position in inches
// averaged over the last nine readings, and ten zero points chosen by the operator, one of them
// active: the relative reading is measured from it. It does not parse messages (the controller
// does) and knows nothing of the display.
//
// A zero point is a place on the machine. Its origin is kept in the box's own counting
// direction, so reversing the scale leaves every point where it was (the readings from it just
// count the other way), and the box zeroing the scale moves the active point to the new zero
// while every other point stays where it was.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace gradel {

class Scale {
  public:
    static constexpr double kMmPerInch = 25.4;
    static constexpr int kAveraged = 9;  // readings in the average
    static constexpr int kZeroPoints = 10;
    // The farthest from its zero a box can report a scale: its raw count's 2^23 counts at 20480
    // to the inch (the decimal formats stop at 99.9995 in).
    static constexpr double kFarthestInch = 8388608.0 / 20480;
    using Origins = std::array<float, kZeroPoints>;

    explicit Scale(std::string key) : key_(std::move(key)) {}

    const std::string& key() const { return key_; }
    // From the box's info message: transmit mode (0 poll, 1 slow, 2 fast), type and unit.
    int16_t mode() const { return mode_; }
    void setMode(int16_t mode) { mode_ = mode; }
    const std::string& type() const { return type_; }
    void setType(std::string type) { type_ = std::move(type); }
    const std::string& unit() const { return unit_; }
    void setUnit(std::string unit) { unit_ = std::move(unit); }
    // A reversed scale negates its readings from now on; the average is not reset.
    bool isReversed() const { return reversed_; }
    void setReversed(bool reversed) { reversed_ = reversed; }

    float absoluteInch() const { return absInch_; }
    float absoluteMm() const { return toMm(absInch_); }
    float relativeInch() const { return absInch_ - shownOrigin(); }
    void setRelativeInch(float inch);
    float relativeMm() const { return toMm(relativeInch()); }
    void setRelativeMm(float mm);
    // The box zeroed the scale: the average and its readings to 0, the active point at the new
    // zero, the other points moved by the old position so that they keep their places.
    void resetAbsolute();
    void resetRelative();  // the active point at the present position

    // The active zero point (0..9); other numbers are ignored.
    int zeroPoint() const { return point_; }
    void setZeroPoint(int point);
    // Every point's origin in inches, counted as the box counts (not reversed). A point never
    // set is at the scale's absolute zero.
    const Origins& origins() const { return origins_; }
    void setOrigins(const Origins& origins) { origins_ = origins; }

    // One reading value (the message less its key): converted to inches, negated when
    // reversed, averaged with the last eight.
    void addReading(std::string_view value);
    // Readings taken since the record was made: whoever wants to know whether the scale still
    // sends compares it now and later, so a reading costs one increment and no clock.
    std::uint64_t readingCount() const { return readingCount_; }

    // The reading value formats: decimal millimetres ("+012.70"), decimal inches ("+01.2500"),
    // raw hexadecimal count ("H000100"); anything else is 0. Never throws.
    static float sampleFromReading(std::string_view value);
    // Whether a value is a reading at all: one of the three formats, made only of the
    // characters a box writes in it (blanks, signs, digits and "." for the decimal ones,
    // hexadecimal digits after "H"). Text spoiled by line noise is not, and is never averaged.
    static bool isReadingValue(std::string_view value);
    // Inches to millimetres as every readout shows them (worked in double, held as float).
    static float toMm(float inch) {
        return static_cast<float>(static_cast<double>(inch) * kMmPerInch);
    }

  private:
    float shownOrigin() const;
    void setShownOrigin(float inch);

    std::string key_;
    std::string type_;
    std::string unit_;
    int16_t mode_ = 0;
    bool reversed_ = false;
    float absInch_ = 0;
    Origins origins_{};
    int point_ = 0;
    std::array<float, kAveraged> readings_{};
    int next_ = 0;  // slot of the next reading
    std::uint64_t readingCount_ = 0;
};

}  // namespace gradel
