#pragma once
// One scale on the interface box: its identity as the box reported it, its position in inches
// averaged over the last nine readings, and a relative zero point chosen by the user.
// It does not parse messages (the controller does) and knows nothing of the display.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace gradel {

class clsScaleControl;

class clsGradel {
public:
    static constexpr double kMMPerInch = 25.4;
    static constexpr int kRingSize = 9;

    void ResetAbsolute();  // average and ring to 0, then ResetRelative
    void ResetRelative();  // relative zero at the present position

    float RelValueMM() const;
    void SetRelValueMM(float ValueMM);
    float RelValueInch() const;
    void SetRelValueInch(float ValueInch);
    float AbsValueMM() const;
    float AbsValueInch() const;

    // One reading value (the message less its key): converted to a sample in inches, negated
    // when reversed, averaged, then the controller's Refresh raises PositionUpdate.
    void Setdata(std::string_view sData);

    // The reading value formats: decimal millimetres, decimal inches, raw hexadecimal count;
    // anything else is 0. Never throws.
    static float SampleFromReading(std::string_view value);
    // Whether a value is a reading at all: one of the three formats, made only of the
    // characters a box writes in it (blanks, signs, digits and "." for the decimal ones,
    // hexadecimal digits after "H"). Text spoiled by line noise is not, and is never averaged.
    static bool IsReadingValue(std::string_view value);

    const std::string& Key() const { return key_; }
    void SetKey(std::string key) { key_ = std::move(key); }
    clsScaleControl* vControl() const { return control_; }
    void SetvControl(clsScaleControl* control) { control_ = control; }
    int16_t Mode() const { return mode_; }
    void SetMode(int16_t mode) { mode_ = mode; }
    const std::string& ScaleType() const { return type_; }
    void SetScaleType(std::string type) { type_ = std::move(type); }
    const std::string& Unit() const { return unit_; }
    void SetUnit(std::string unit) { unit_ = std::move(unit); }
    bool Reverse() const { return reverse_; }
    void SetReverse(bool reverse) { reverse_ = reverse; }  // the average is not reset

private:
    void AddSample(float sample);
    void ClearSamples();

    float absInch_ = 0;
    float relZeroInch_ = 0;
    std::string key_;
    std::string unit_;
    std::string type_;
    int16_t mode_ = 0;
    bool reverse_ = false;
    clsScaleControl* control_ = nullptr;
    std::array<float, kRingSize> sampleRing_{};
    int16_t sampleIndex_ = 0;
};

}  // namespace gradel
