#pragma once
// The interface box's behaviour, without any I/O: it takes the program's command bytes and
// answers, and it produces readings for its scales at a given time.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace boxsim {

enum class Format { Millimetre, Inch, Hex };  // "+012.70", "+01.2500", "H000100"
enum class Motion { Still, Ramp, Sine };
enum class TypeChoice { Hex = 0, Decimal = 1, Auto = 2 };  // the "V" codes

struct ScaleSetup {
    char key = 'X';
    Format format = Format::Millimetre;
};

class Box {
  public:
    Box(std::vector<ScaleSetup> scales, Motion motion, int startMode);

    // Feeds command bytes from the program; returns the box's answers (info messages for "I0",
    // reset messages for "Z" + key). Commands may be split anywhere between calls.
    std::string feed(const std::string& bytes);
    // The connect messages the box sends when it starts.
    std::string connectMessages() const;
    // The reading message of scale i at time t (seconds since start).
    std::string reading(std::size_t i, double t) const;
    // Position of scale i in millimetres at time t, before the box's own zero.
    double position(std::size_t i, double t) const;

    // Transmit mode: 0 poll (no stream), 1 slow, 2 fast.
    int mode() const { return mode_; }
    TypeChoice type() const { return type_; }
    const std::vector<ScaleSetup>& scales() const { return scales_; }
    // Time the box was last told the time (for zeroing at the present position).
    void setNow(double t) { now_ = t; }

    static std::string formatReading(Format format, double mm);

  private:
    std::string command(char letter, char argument);
    std::string infoMessages() const;
    Format effectiveFormat(const ScaleSetup& s) const;

    std::vector<ScaleSetup> scales_;
    std::vector<double> zero_;  // the box's zero of each scale, mm
    Motion motion_;
    int mode_;
    TypeChoice type_ = TypeChoice::Auto;
    double now_ = 0;
    std::string pending_;  // a command letter waiting for its argument
};

}  // namespace boxsim
