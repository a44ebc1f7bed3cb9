#include "scale/clsScaleControl.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "scale/Sfmt.h"

namespace gradel {

namespace {

constexpr const char* kModule = "clsScaleControl";

// Messages are never longer than the cap, so NextField never meets a separator beyond the
// position it can count.
static_assert(clsScaleControl::kInputBufferCap < 32767);

// The character at position 2 of a message or field; empty when there is none.
std::string SecondChar(const std::string& text) {
    return text.size() >= 2 ? text.substr(1, 1) : "";
}

// A key the box can give a scale: one character that is none of the message letters.
bool IsScaleKey(const std::string& key) {
    return key.size() == 1 && key != "C" && key != "D" && key != "I" && key != "R";
}

// The transmit mode of an info message as a 16-bit integer, rounded half to even. Text that is
// not a number, or a number outside the 16-bit range, reads as 0 like any malformed value.
int16_t ModeFromText(const std::string& text) {
    const std::optional<double> number = Sfmt::WholeNumber(text);
    if (!number) return 0;
    const double rounded = std::nearbyint(*number);
    if (rounded < -32768.0 || rounded > 32767.0) return 0;
    return static_cast<int16_t>(rounded);
}

}  // namespace

clsScaleControl::clsScaleControl(IErrorDialog& dialog) : dialog_(dialog) {}

std::string_view clsScaleControl::InputBuffer() const {
    return std::string_view(inputBuffer_).substr(inputPos_);
}

// Appends the text and acts on every message ended by a colon, in order. Each message leaves
// the buffer before it is acted on, and every pass takes the next one from the buffer afresh,
// so a handler may call DataInput again: the inner call consumes what is complete by then and
// this call carries on with whatever is left.
void clsScaleControl::DataInput(std::string_view vData) {
    inputBuffer_.append(vData.data(), vData.size());
    struct Depth {
        clsScaleControl& c;
        explicit Depth(clsScaleControl& control) : c(control) { ++c.inputDepth_; }
        ~Depth() {
            if (--c.inputDepth_ == 0) c.EndInput();
        }
    } depth(*this);

    ErrorTrap trap(dialog_, kModule, "DataInput");
    std::string message;
    while (TakeMessage(message))
        if (!HandleMessage(message, trap)) return;  // Abort: later messages wait for the next call
}

// Takes the next complete message off the buffer. A message longer than the cap is line noise
// and is dropped here.
bool clsScaleControl::TakeMessage(std::string& message) {
    for (;;) {
        const std::size_t colon = inputBuffer_.find(':', inputPos_);
        if (colon == std::string::npos) return false;
        const std::size_t length = colon - inputPos_;
        const bool drop = overlongMessage_ || length > kInputBufferCap;
        overlongMessage_ = false;
        if (!drop) message.assign(inputBuffer_, inputPos_, length);
        inputPos_ = colon + 1;
        if (!drop) return true;
    }
}

// Leaving the outermost DataInput: consumed text goes in one move, and text that has no colon
// is kept only up to the cap (the newest characters).
void clsScaleControl::EndInput() {
    inputBuffer_.erase(0, inputPos_);
    inputPos_ = 0;
    if (inputBuffer_.size() > kInputBufferCap && inputBuffer_.find(':') == std::string::npos) {
        inputBuffer_.erase(0, inputBuffer_.size() - kInputBufferCap);
        overlongMessage_ = true;
    }
}

bool clsScaleControl::HandleMessage(const std::string& message, ErrorTrap& trap) {
    if (message.empty()) return true;
    switch (message[0]) {
        case 'C':
            if (message.size() > 2) return true;  // spoiled, as for "D"
            return trap.Run([&] { RaiseScaleComms("I0"); });
        case 'D': {
            // A box writes exactly "D" and the key; longer text is a message spoiled by line
            // noise (a stray "D" before a reading), which must not take a scale away.
            if (message.size() != 2) return true;
            const std::string key = SecondChar(message);
            return trap.Run([&] { RemoveScale(key); });
        }
        case 'I':
            return HandleInfo(message, trap);
        case 'R': {
            if (message.size() != 2) return true;  // spoiled, as for "D"
            const std::string key = SecondChar(message);
            return trap.Run([&] {
                for (const auto& record : scales_.Snapshot())
                    if (record->Key() == key) record->ResetAbsolute();
            });
        }
        default:
            return HandleReading(message, trap);
    }
}

// "I" key "," mode "," type "," unit: all four fields are taken before anything happens.
bool clsScaleControl::HandleInfo(const std::string& message, ErrorTrap& trap) {
    std::string rest = message;
    const std::string first = Sfmt::NextField(rest, ",");
    // "I" and the key, then the fields: a longer first field is line noise that happened to
    // start with an "I", and must not make a scale nobody has.
    if (first.size() > 2) return true;
    const std::string key = SecondChar(first);
    const int16_t mode = ModeFromText(Sfmt::NextField(rest, ","));
    const std::string type = Sfmt::NextField(rest, ",");
    const std::string unit = rest;
    if (!IsScaleKey(key)) return true;  // no usable key: line noise, adds nothing

    if (!trap.Run([&] {
            if (!scales_.Exists(key)) AddScale(key);
        }))
        return false;
    return trap.Run([&] {
        for (const auto& record : scales_.Snapshot()) {
            if (record->Key() != key) continue;
            record->SetMode(mode);
            record->SetScaleType(type);
            record->SetUnit(unit);
        }
    });
}

bool clsScaleControl::HandleReading(const std::string& message, ErrorTrap& trap) {
    const std::string key = message.substr(0, 1);
    // A value that is no reading (line noise, a message cut short) would pull the average
    // towards a position the scale never had: it is dropped like a reading of no scale.
    if (!clsGradel::IsReadingValue(std::string_view(message).substr(1))) return true;
    return trap.Run([&] {
        if (!scales_.Exists(key)) return;
        const clnGradels::Ptr record = scales_.Item(key);  // alive while handlers run
        record->Setdata(std::string_view(message).substr(1));
    });
}

void clsScaleControl::AddScale(const std::string& SCid) {
    ErrorTrap trap(dialog_, kModule, "AddScale");
    if (scales_.Exists(SCid)) return;
    const std::string key = SCid;
    clnGradels::Ptr record;
    if (!trap.Run([&] {
            record = scales_.Add(key);
            record->SetKey(key);
            record->SetvControl(this);
        }))
        return;
    trap.Run([&] {
        if (record) RaiseScaleAdded(*record);
    });
}

void clsScaleControl::RemoveScale(const std::string& SCid) {
    ErrorTrap trap(dialog_, kModule, "RemoveScale");
    if (!scales_.Exists(SCid)) return;
    const std::string key = SCid;  // SCid may belong to the record about to go
    if (!trap.Run([&] { scales_.Remove(key); })) return;
    trap.Run([&] { RaiseScaleRemoved(key); });
}

void clsScaleControl::Refresh(clsGradel& CScale) {
    ErrorTrap trap(dialog_, kModule, "Refresh");
    trap.Run([&] { RaisePositionUpdate(CScale); });
}

void clsScaleControl::ResetRelative(const std::string& SCid) {
    ErrorTrap trap(dialog_, kModule, "ResetRelative");
    trap.Run([&] { scales_.Item(SCid)->ResetRelative(); });
}

// Each record's event comes before its removal, so a handler still finds it in Scales.
void clsScaleControl::RemoveAll() {
    ErrorTrap trap(dialog_, kModule, "RemoveAll");
    for (const auto& record : scales_.Snapshot()) {
        const std::string key = record->Key();
        if (!trap.Run([&] { RaiseScaleRemoved(key); })) return;
        if (!trap.Run([&] { RemoveRecord(record); })) return;
    }
}

// Removes this very record if it is still in Scales (a handler may already have taken it out,
// or put another record under the same key).
void clsScaleControl::RemoveRecord(const clnGradels::Ptr& record) {
    for (int32_t position = 1; position <= scales_.Count(); ++position) {
        if (scales_.Item(position) == record) {
            scales_.Remove(position);
            return;
        }
    }
}

bool clsScaleControl::Reverse(const std::string& SCid, std::optional<bool> Rev) {
    ErrorTrap trap(dialog_, kModule, "Reverse");
    if (Rev && !trap.Run([&] { scales_.Item(SCid)->SetReverse(*Rev); })) return false;
    bool result = false;
    if (!trap.Run([&] { result = scales_.Item(SCid)->Reverse(); })) return false;
    return result;
}

void clsScaleControl::ResetAbsolute(const std::string& SCid) {
    ErrorTrap trap(dialog_, kModule, "ResetAbsolute");
    trap.Run([&] { RaiseScaleComms("Z" + SCid); });
}

void clsScaleControl::SetRelativeInch(const std::string& SCid, float Value) {
    ErrorTrap trap(dialog_, kModule, "SetRelativeInch");
    trap.Run([&] { scales_.Item(SCid)->SetRelValueInch(Value); });
}

float clsScaleControl::GetRelativeInch(const std::string& SCid) {
    ErrorTrap trap(dialog_, kModule, "GetRelativeInch");
    float result = 0;
    if (!trap.Run([&] { result = scales_.Item(SCid)->RelValueInch(); })) return 0;
    return result;
}

void clsScaleControl::Update(const std::string& SCid) {
    ErrorTrap trap(dialog_, kModule, "Update");
    trap.Run([&] {
        const clnGradels::Ptr record = scales_.Item(SCid);
        RaisePositionUpdate(*record);
    });
}

// Handlers are copied before the call so that one may replace itself while it runs.
void clsScaleControl::RaisePositionUpdate(clsGradel& scale) {
    if (auto handler = PositionUpdate) handler(scale);
}

void clsScaleControl::RaiseScaleAdded(clsGradel& scale) {
    if (auto handler = ScaleAdded) handler(scale);
}

void clsScaleControl::RaiseScaleRemoved(const std::string& key) {
    if (auto handler = ScaleRemoved) handler(key);
}

void clsScaleControl::RaiseScaleComms(const std::string& message) {
    if (auto handler = ScaleComms) handler(message);
}

}  // namespace gradel
