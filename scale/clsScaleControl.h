#pragma once
// The one object through which the program deals with scales.
//
// It takes the interface box's text (DataInput), keeps one clsGradel per scale, and offers the
// user's commands on a scale by key. It never touches the serial port or the screen: whatever
// must go to the box leaves through ScaleComms, whatever must be shown through PositionUpdate,
// ScaleAdded and ScaleRemoved. Events are raised synchronously inside the call that causes
// them, and a handler may call back into the controller, DataInput included.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "scale/ErrorDialog.h"
#include "scale/clnGradels.h"

namespace gradel {

class clsScaleControl {
  public:
    // Text that never contains a colon is kept only up to this many characters (the newest),
    // and a message longer than this is line noise: it is dropped when its colon arrives.
    static constexpr std::size_t kInputBufferCap = 4096;

    explicit clsScaleControl(IErrorDialog& dialog = CurrentErrorDialog());
    clsScaleControl(const clsScaleControl&) = delete;
    clsScaleControl& operator=(const clsScaleControl&) = delete;

    // Events, in declaration order.
    std::function<void(clsGradel& CurrentScale)> PositionUpdate;
    std::function<void(clsGradel& NewScale)> ScaleAdded;
    std::function<void(const std::string& OldScaleID)> ScaleRemoved;
    std::function<void(const std::string& Message)> ScaleComms;

    void DataInput(std::string_view vData);  // "Data from gradels"
    void AddScale(const std::string& SCid);
    void RemoveScale(const std::string& SCid);
    void Refresh(clsGradel& CScale);
    void ResetRelative(const std::string& SCid);
    void RemoveAll();
    bool Reverse(const std::string& SCid, std::optional<bool> Rev = std::nullopt);
    void ResetAbsolute(const std::string& SCid);
    void SetRelativeInch(const std::string& SCid, float Value);
    float GetRelativeInch(const std::string& SCid);
    void Update(const std::string& SCid);

    clnGradels& Scales() { return scales_; }
    const clnGradels& Scales() const { return scales_; }
    // Received text not yet ended by a colon.
    std::string_view InputBuffer() const;

  private:
    bool TakeMessage(std::string& message);
    bool HandleMessage(const std::string& message, ErrorTrap& trap);
    bool HandleInfo(const std::string& message, ErrorTrap& trap);
    bool HandleReading(const std::string& message, ErrorTrap& trap);
    void EndInput();
    void RemoveRecord(const clnGradels::Ptr& record);

    void RaisePositionUpdate(clsGradel& scale);
    void RaiseScaleAdded(clsGradel& scale);
    void RaiseScaleRemoved(const std::string& key);
    void RaiseScaleComms(const std::string& message);

    IErrorDialog& dialog_;
    clnGradels scales_;
    std::string inputBuffer_;
    std::size_t inputPos_ = 0;      // start of the unconsumed text in inputBuffer_
    int inputDepth_ = 0;            // DataInput calls in progress (handlers may call it again)
    bool overlongMessage_ = false;  // the partial message at inputPos_ was cut to the cap
};

}  // namespace gradel
