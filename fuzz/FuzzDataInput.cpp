// Arbitrary bytes, cut into blocks at points chosen by the input itself, fed to dataInput.
//
// 1. Cutting: the text fed whole and fed in blocks must give the same events and leave the
//    same unfinished text.
// 2. Callbacks: listeners call back into the controller (commands on any key, nested
//    dataInput, removeAll, ...) while the prompt answers Abort, Retry or Ignore; nothing may
//    crash, leak or invoke undefined behaviour, and unfinished text stays within the cap.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scale/ScaleController.h"

using namespace gradel;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// Writes every event as a short text or, given an input to act from, calls back into the
// controller on it; a scale it is told of must stay usable whatever the call did.
class Listener : public ScaleListener {
  public:
    explicit Listener(ScaleController& controller, FuzzedDataProvider* actions = nullptr)
        : controller_(controller), actions_(actions) {
        controller.setListener(this);
    }
    const std::vector<std::string>& log() const { return log_; }

    void positionChanged(Scale& s) override {
        seen("P" + s.key() + std::to_string(s.absoluteInch()), s.key(), &s);
    }
    void scaleAdded(Scale& s) override { seen("A" + s.key(), s.key(), &s); }
    void scaleRemoved(const std::string& key) override { seen("R" + key, key); }
    void commandForBox(const std::string& command) override {
        seen("C" + command, command.substr(1));
    }

  private:
    void seen(const std::string& event, const std::string& seenKey, Scale* scale = nullptr) {
        if (!actions_) return log_.push_back(event);
        if (depth_ >= 4 || actions_->remaining_bytes() == 0) return;
        ++depth_;
        const std::string key =
            actions_->ConsumeBool() ? seenKey : actions_->ConsumeBytesAsString(1);
        ScaleController& c = controller_;
        // clang-format off
        switch (actions_->ConsumeIntegralInRange<int>(0, 9)) {
            case 0: c.update(key); break;
            case 1: c.setReversed(key, actions_->ConsumeBool()); break;
            case 2: c.setRelativeInch(key, actions_->ConsumeFloatingPoint<float>()); break;
            case 3: c.relativeInch(key); break;
            case 4: c.resetRelative(key); break;
            case 5: c.resetAbsolute(key); break;
            case 6: c.removeAll(); break;
            case 7: c.removeScale(key); break;
            case 8: c.addScale(key); break;
            default: c.dataInput(actions_->ConsumeRandomLengthString(32)); break;
        }
        // clang-format on
        if (scale) scale->addReading("+00.0000");
        --depth_;
    }

    ScaleController& controller_;
    FuzzedDataProvider* actions_;
    std::vector<std::string> log_;
    int depth_ = 0;
};

// Answers from the input; a run of Retries is bounded so a lasting fault cannot loop forever.
class Prompt : public ErrorPrompt {
  public:
    explicit Prompt(FuzzedDataProvider& answers) : answers_(answers) {}
    ErrorAnswer ask(const ErrorReport& report) override {
        check(!report.text().empty());
        const int pick = answers_.ConsumeIntegralInRange<int>(0, 2);
        if (pick == 1 && ++retries_ <= 2) return ErrorAnswer::Retry;
        retries_ = 0;
        return pick == 0 ? ErrorAnswer::Abort : ErrorAnswer::Ignore;
    }

  private:
    FuzzedDataProvider& answers_;
    int retries_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(4096);
    std::vector<std::string> blocks;
    for (std::size_t pos = 0; pos < text.size(); pos += blocks.back().size())
        blocks.push_back(text.substr(pos, in.remaining_bytes()
                                              ? in.ConsumeIntegralInRange<std::size_t>(0, 24)
                                              : text.size()));

    ScaleController whole, cut;
    Listener wholeLog(whole), cutLog(cut);
    whole.dataInput(text);
    for (const auto& block : blocks) cut.dataInput(block);
    check(wholeLog.log() == cutLog.log() && whole.pendingInput() == cut.pendingInput());

    Prompt prompt(in);
    ScaleController acted(&prompt);
    Listener actor(acted, &in);
    auto feed = [&](const std::string& block) {
        acted.dataInput(block);
        const std::string_view rest = acted.pendingInput();
        check(rest.find(':') != std::string_view::npos ||
              rest.size() <= ScaleController::kInputCap);
    };
    for (const auto& block : blocks) feed(block);
    while (in.remaining_bytes() > 0) feed(in.ConsumeRandomLengthString(64));
    return 0;
}
