#pragma once
// The one object through which the program deals with scales.
//
// It takes the interface box's text (dataInput), keeps one Scale per scale key, and offers the
// operator's commands on a scale by key. It never touches the serial port or the screen:
// whatever must go to the box or be shown leaves through its ScaleListener. A command on a key
// with no record is a fault reported through the ErrorPrompt; text from the box never is.
#include <cstddef>
#include <string>
#include <string_view>

#include "base/ErrorTrap.h"
#include "scale/ScaleList.h"
#include "scale/ScaleListener.h"

namespace gradel {

class ScaleController {
  public:
    // Text that never contains a colon is kept only up to this many characters (the newest),
    // and a message longer than this is line noise: it is dropped when its colon arrives.
    static constexpr std::size_t kInputCap = 4096;

    // `prompt` answers faults; null means whichever prompt is the default at the time.
    explicit ScaleController(ErrorPrompt* prompt = nullptr);
    ScaleController(const ScaleController&) = delete;
    ScaleController& operator=(const ScaleController&) = delete;

    // Null: events go nowhere.
    void setListener(ScaleListener* listener) { listener_ = listener; }

    // Text from the box, cut anywhere: every message ended by a colon is acted on in order.
    void dataInput(std::string_view text);
    void addScale(const std::string& key);
    void removeScale(const std::string& key);
    // Every record goes, each announced before it is taken out.
    void removeAll();

    void resetRelative(const std::string& key);
    // Asks the box to zero the scale; its reset message zeroes the record.
    void resetAbsolute(const std::string& key);
    void setReversed(const std::string& key, bool reversed);
    float relativeInch(const std::string& key);
    void setRelativeInch(const std::string& key, float inch);
    // The zero point (0..9) every relative reading is measured from; a new scale takes it too.
    // Setting it announces every scale's position again; a number out of range is ignored.
    int activePoint() const { return activePoint_; }
    void setActivePoint(int point);
    // Announces the scale's position again (positionChanged).
    void update(const std::string& key);

    const ScaleList& scales() const { return scales_; }
    // Received text not yet ended by a colon.
    std::string_view pendingInput() const;

  private:
    // (the implementation's own helpers)
    bool takeMessage(std::string& message);
    bool handleMessage(const std::string& message, ErrorTrap& trap);
    bool handleInfo(const std::string& message, ErrorTrap& trap);
    bool handleReading(const std::string& message, ErrorTrap& trap);
    void endInput();
    void pointsMoved(Scale& scale);
    ErrorPrompt& prompt() const { return prompt_ ? *prompt_ : defaultErrorPrompt(); }

    ErrorPrompt* prompt_;
    ScaleListener* listener_ = nullptr;
    ScaleList scales_;
    int activePoint_ = 0;
    std::string input_;
    std::size_t inputPos_ = 0;      // start of the unconsumed text in input_
    int inputDepth_ = 0;            // dataInput calls in progress (listeners may call it again)
    bool overlongMessage_ = false;  // the partial message at inputPos_ was cut to the cap
};

}  // namespace gradel
