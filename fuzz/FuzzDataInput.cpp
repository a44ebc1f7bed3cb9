// Arbitrary bytes, cut into blocks at points chosen by the input itself, fed to DataInput.
//
// 1. Cutting: the text fed whole and fed in blocks must give the same events and leave the
//    same unfinished text.
// 2. Callbacks: handlers call back into the controller (members on any key, nested DataInput,
//    RemoveAll, ...) while the error dialog answers Abort, Retry or Ignore; nothing may crash,
//    leak or invoke undefined behaviour, and unfinished text stays within the cap.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scale/clsScaleControl.h"

using namespace gradel;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

struct Recorder {
    std::vector<std::string> log;
    void Attach(clsScaleControl& sc) {
        sc.PositionUpdate = [this](clsGradel& g) {
            log.push_back("P" + g.Key() + std::to_string(g.AbsValueInch()));
        };
        sc.ScaleAdded = [this](clsGradel& g) { log.push_back("A" + g.Key()); };
        sc.ScaleRemoved = [this](const std::string& k) { log.push_back("R" + k); };
        sc.ScaleComms = [this](const std::string& m) { log.push_back("C" + m); };
    }
};

std::vector<std::string> CutText(const std::string& text, FuzzedDataProvider& cuts) {
    std::vector<std::string> blocks;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = cuts.remaining_bytes() == 0
                                    ? text.size() - pos
                                    : cuts.ConsumeIntegralInRange<std::size_t>(0, 24);
        blocks.push_back(text.substr(pos, len));
        pos += len;
    }
    return blocks;
}

void CheckCutting(const std::string& text, const std::vector<std::string>& blocks) {
    clsScaleControl whole, cut;
    Recorder a, b;
    a.Attach(whole);
    b.Attach(cut);
    whole.DataInput(text);
    for (const auto& block : blocks) cut.DataInput(block);
    Check(a.log == b.log);
    Check(whole.InputBuffer() == cut.InputBuffer());
}

// Answers from the input; a run of Retries is bounded so a lasting fault cannot loop forever.
class FuzzDialog : public IErrorDialog {
  public:
    explicit FuzzDialog(FuzzedDataProvider& in) : in_(in) {}
    ErrorAnswer Ask(const ErrorReport& report) override {
        Check(!report.Text().empty());
        const int pick = in_.ConsumeIntegralInRange<int>(0, 2);
        if (pick == 1 && ++retries_ <= 2) return ErrorAnswer::Retry;
        retries_ = 0;
        return pick == 0 ? ErrorAnswer::Abort : ErrorAnswer::Ignore;
    }

  private:
    FuzzedDataProvider& in_;
    int retries_ = 0;
};

class CallbackRig {
  public:
    explicit CallbackRig(FuzzedDataProvider& in) : in_(in), dialog_(in), sc_(dialog_) {
        sc_.PositionUpdate = [this](clsGradel& g) { Act(g.Key(), &g); };
        sc_.ScaleAdded = [this](clsGradel& g) { Act(g.Key(), &g); };
        sc_.ScaleRemoved = [this](const std::string& k) { Act(k, nullptr); };
        sc_.ScaleComms = [this](const std::string& m) { Act(m.substr(1), nullptr); };
    }

    void Feed(const std::string& block) {
        sc_.DataInput(block);
        const std::string_view rest = sc_.InputBuffer();
        if (rest.find(':') == std::string_view::npos)
            Check(rest.size() <= clsScaleControl::kInputBufferCap);
    }

  private:
    void Act(const std::string& seen, clsGradel* g) {
        if (depth_ >= 4 || in_.remaining_bytes() == 0) return;
        ++depth_;
        const std::string key = in_.ConsumeBool() ? seen : in_.ConsumeBytesAsString(1);
        switch (in_.ConsumeIntegralInRange<int>(0, 11)) {
            case 0:
                sc_.Update(key);
                break;
            case 1:
                sc_.Reverse(key, in_.ConsumeBool());
                break;
            case 2:
                sc_.SetRelativeInch(key, in_.ConsumeFloatingPoint<float>());
                break;
            case 3:
                sc_.GetRelativeInch(key);
                break;
            case 4:
                sc_.ResetRelative(key);
                break;
            case 5:
                sc_.ResetAbsolute(key);
                break;
            case 6:
                sc_.RemoveAll();
                break;
            case 7:
                sc_.RemoveScale(key);
                break;
            case 8:
                sc_.AddScale(key);
                break;
            case 9:
                sc_.DataInput(in_.ConsumeRandomLengthString(32));
                break;
            case 10:
                if (g) sc_.Refresh(*g);
                break;
            default:
                break;  // does nothing
        }
        --depth_;
    }

    FuzzedDataProvider& in_;
    FuzzDialog dialog_;
    clsScaleControl sc_;
    int depth_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(4096);
    const std::vector<std::string> blocks = CutText(text, in);
    CheckCutting(text, blocks);

    CallbackRig rig(in);
    for (const auto& block : blocks) rig.Feed(block);
    while (in.remaining_bytes() > 0) rig.Feed(in.ConsumeRandomLengthString(64));
    return 0;
}
