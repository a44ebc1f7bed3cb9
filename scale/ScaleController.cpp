#include "scale/ScaleController.h"

#include <cstdint>
#include <optional>
#include <string>

#include "base/Rounding.h"
#include "scale/TextFields.h"

namespace gradel {

namespace {

// The module name users' error reports have always given for the scale link.
constexpr const char* kModule = "clsScaleControl";

// Messages are never longer than the cap, so nextField never meets a separator beyond the
// position it can count.
static_assert(ScaleController::kInputCap < 32767);

// The character at position 2 of a message or field; empty when there is none.
std::string secondChar(const std::string& text) {
    return text.size() >= 2 ? text.substr(1, 1) : "";
}

// A key the box can give a scale: one character that is none of the message letters.
bool isScaleKey(const std::string& key) {
    return key.size() == 1 && key != "C" && key != "D" && key != "I" && key != "R";
}

// The transmit mode of an info message. Text that is not a number, or a number outside the
// 16-bit range, reads as 0 like any malformed value.
int16_t modeFromText(const std::string& text) {
    const std::optional<double> number = TextFields::wholeNumber(text);
    return number ? roundToInt16(*number).value_or(0) : int16_t{0};
}

}  // namespace

ScaleController::ScaleController(ErrorPrompt* prompt) : prompt_(prompt) {}

std::string_view ScaleController::pendingInput() const {
    return std::string_view(input_).substr(inputPos_);
}

// Appends the text and acts on every message ended by a colon, in order. Each message leaves
// the input before it is acted on, and every pass takes the next one from the input afresh,
// so a listener may call dataInput again: the inner call consumes what is complete by then and
// this call carries on with whatever is left.
void ScaleController::dataInput(std::string_view text) {
    input_.append(text.data(), text.size());
    class DepthGuard {
      public:
        explicit DepthGuard(ScaleController& controller) : controller_(controller) {
            ++controller_.inputDepth_;
        }
        ~DepthGuard() {
            if (--controller_.inputDepth_ == 0) controller_.endInput();
        }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

      private:
        ScaleController& controller_;
    } depth(*this);

    ErrorTrap trap(prompt(), kModule, "DataInput");
    std::string message;
    while (takeMessage(message))
        if (!handleMessage(message, trap)) return;  // Abort: later messages wait for the next call
}

// Takes the next complete message off the input. A message longer than the cap is line noise
// and is dropped here.
bool ScaleController::takeMessage(std::string& message) {
    for (;;) {
        const std::size_t colon = input_.find(':', inputPos_);
        if (colon == std::string::npos) return false;
        const std::size_t length = colon - inputPos_;
        const bool drop = overlongMessage_ || length > kInputCap;
        overlongMessage_ = false;
        if (!drop) message.assign(input_, inputPos_, length);
        inputPos_ = colon + 1;
        if (!drop) return true;
    }
}

// Leaving the outermost dataInput: consumed text goes in one move, and text that has no colon
// is kept only up to the cap (the newest characters).
void ScaleController::endInput() {
    input_.erase(0, inputPos_);
    inputPos_ = 0;
    if (input_.size() > kInputCap && input_.find(':') == std::string::npos) {
        input_.erase(0, input_.size() - kInputCap);
        overlongMessage_ = true;
    }
}

bool ScaleController::handleMessage(const std::string& message, ErrorTrap& trap) {
    if (message.empty()) return true;
    switch (message[0]) {
        case 'C':
            if (message.size() > 2) return true;  // spoiled, as for "D"
            return trap.run([&] {
                if (listener_) listener_->commandForBox("I0");
            });
        case 'D': {
            // A box writes exactly "D" and the key; longer text is a message spoiled by line
            // noise (a stray "D" before a reading), which must not take a scale away.
            if (message.size() != 2) return true;
            const std::string key = secondChar(message);
            return trap.run([&] { removeScale(key); });
        }
        case 'I':
            return handleInfo(message, trap);
        case 'R': {
            if (message.size() != 2) return true;  // spoiled, as for "D"
            // Only the record whose key is written exactly so: "Rx" leaves scale X alone.
            const std::string key = secondChar(message);
            return trap.run([&] {
                for (const auto& record : scales_.snapshot()) {
                    if (record->key() != key) continue;
                    record->resetAbsolute();
                    pointsMoved(*record);
                }
            });
        }
        default:
            return handleReading(message, trap);
    }
}

// "I" key "," mode "," type "," unit: all four fields are taken before anything happens.
bool ScaleController::handleInfo(const std::string& message, ErrorTrap& trap) {
    std::string rest = message;
    const std::string first = TextFields::nextField(rest, ",");
    // "I" and the key, then the fields: a longer first field is line noise that happened to
    // start with an "I", and must not make a scale nobody has.
    if (first.size() > 2) return true;
    const std::string key = secondChar(first);
    const int16_t mode = modeFromText(TextFields::nextField(rest, ","));
    const std::string type = TextFields::nextField(rest, ",");
    const std::string unit = rest;
    if (!isScaleKey(key)) return true;  // no usable key: line noise, adds nothing

    if (!trap.run([&] {
            if (!scales_.contains(key)) addScale(key);
        }))
        return false;
    // The description goes only to a record whose key is written exactly so ("Ix" after "IX"
    // makes no second scale and changes nothing).
    return trap.run([&] {
        for (const auto& record : scales_.snapshot()) {
            if (record->key() != key) continue;
            record->setMode(mode);
            record->setType(type);
            record->setUnit(unit);
        }
    });
}

// A reading reaches its scale whatever the letter case of its key.
bool ScaleController::handleReading(const std::string& message, ErrorTrap& trap) {
    const std::string key = message.substr(0, 1);
    const std::string_view value = std::string_view(message).substr(1);
    // A value that is no reading (line noise, a message cut short) would pull the average
    // towards a position the scale never had: it is dropped like a reading of no scale.
    if (!Scale::isReadingValue(value)) return true;
    return trap.run([&] {
        const ScaleList::Ptr record = scales_.find(key);  // alive while the listener runs
        if (!record) return;
        record->addReading(value);
        ErrorTrap refresh(prompt(), kModule, "Refresh");
        refresh.run([&] {
            if (listener_) listener_->positionChanged(*record);
        });
    });
}

void ScaleController::addScale(const std::string& key) {
    ErrorTrap trap(prompt(), kModule, "AddScale");
    if (scales_.contains(key)) return;
    const std::string ownKey = key;
    ScaleList::Ptr record;
    if (!trap.run([&] { record = scales_.add(ownKey); })) return;
    if (record) record->setZeroPoint(activePoint_);
    trap.run([&] {
        if (record && listener_) listener_->scaleAdded(*record);
    });
}

void ScaleController::removeScale(const std::string& key) {
    ErrorTrap trap(prompt(), kModule, "RemoveScale");
    if (!scales_.contains(key)) return;
    const std::string ownKey = key;  // `key` may belong to the record about to go
    if (!trap.run([&] { scales_.remove(ownKey); })) return;
    trap.run([&] {
        if (listener_) listener_->scaleRemoved(ownKey);
    });
}

// Each record is announced before it goes, so a listener still finds it in scales(). A
// listener may take records out itself; removeRecord then leaves the list as it is.
void ScaleController::removeAll() {
    ErrorTrap trap(prompt(), kModule, "RemoveAll");
    for (const auto& record : scales_.snapshot()) {
        const std::string key = record->key();
        if (!trap.run([&] {
                if (listener_) listener_->scaleRemoved(key);
            }))
            return;
        if (!trap.run([&] { scales_.removeRecord(record); })) return;
    }
}

void ScaleController::resetRelative(const std::string& key) {
    ErrorTrap trap(prompt(), kModule, "ResetRelative");
    trap.run([&] {
        const ScaleList::Ptr record = scales_.item(key);
        record->resetRelative();
        pointsMoved(*record);
    });
}

void ScaleController::resetAbsolute(const std::string& key) {
    ErrorTrap trap(prompt(), kModule, "ResetAbsolute");
    trap.run([&] {
        if (listener_) listener_->commandForBox("Z" + key);
    });
}

void ScaleController::setReversed(const std::string& key, bool reversed) {
    ErrorTrap trap(prompt(), kModule, "Reverse");
    trap.run([&] { scales_.item(key)->setReversed(reversed); });
}

float ScaleController::relativeInch(const std::string& key) {
    ErrorTrap trap(prompt(), kModule, "GetRelativeInch");
    float inch = 0;
    if (!trap.run([&] { inch = scales_.item(key)->relativeInch(); })) return 0;
    return inch;
}

void ScaleController::setRelativeInch(const std::string& key, float inch) {
    ErrorTrap trap(prompt(), kModule, "SetRelativeInch");
    trap.run([&] {
        const ScaleList::Ptr record = scales_.item(key);
        record->setRelativeInch(inch);
        pointsMoved(*record);
    });
}

void ScaleController::setActivePoint(int point) {
    if (point < 0 || point >= Scale::kZeroPoints) return;
    activePoint_ = point;
    for (const auto& record : scales_.snapshot()) record->setZeroPoint(point);
    if (!listener_) return;
    ErrorTrap trap(prompt(), kModule, "SetActivePoint");
    trap.run([&] { listener_->activePointChanged(point); });
    for (const auto& record : scales_.snapshot())
        if (!trap.run([&] { listener_->positionChanged(*record); })) return;
}

void ScaleController::pointsMoved(Scale& scale) {
    if (listener_) listener_->zeroPointsChanged(scale);
}

void ScaleController::update(const std::string& key) {
    ErrorTrap trap(prompt(), kModule, "Update");
    trap.run([&] {
        const ScaleList::Ptr record = scales_.item(key);
        if (listener_) listener_->positionChanged(*record);
    });
}

}  // namespace gradel
