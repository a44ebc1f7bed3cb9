#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "scale/DemoMessages.h"
#include "scale/ScaleController.h"
#include "tests/support/ScriptedPrompt.h"

using namespace gradel;
using Log = std::vector<std::string>;

namespace {

// A controller whose events are logged as short texts; `then` runs after each one is logged.
struct Rig : ScaleListener {
    gradel::testing::ScriptedPrompt prompt;
    ScaleController sc{&prompt};
    Log log;
    std::function<void(const std::string& event, Scale* scale)> then;
    Rig() { sc.setListener(this); }
    void note(const std::string& event, Scale* scale = nullptr) {
        log.push_back(event);
        if (then) then(event, scale);
    }
    void positionChanged(Scale& s) override {
        note("P" + s.key() + s.type() + s.unit() + " " + std::to_string(s.absoluteInch()), &s);
    }
    void scaleAdded(Scale& s) override { note("A" + s.key() + s.type() + s.unit(), &s); }
    void scaleRemoved(const std::string& key) override { note("R" + key); }
    void commandForBox(const std::string& command) override { note("C" + command); }
    void zeroPointsChanged(Scale& s) override { note("Z" + s.key(), &s); }
};

}  // namespace

// Connect, info, readings in all three formats, an unknown key, lower-case keys (a reading
// reaches X, info and reset do not), info without a usable key, text spoiled by line noise (a
// cut message, stray bytes before a reading, a stray D, R, C or I), messages of the cap's length
// and one longer, a second scale, disconnects, and unfinished text beyond the cap: the same
// events however the text is cut.
TEST(DataInput, AnyCuttingGivesTheSameEvents) {
    const std::size_t cap = ScaleController::kInputCap;
    std::string noise;
    for (std::size_t i = 0; i < 3 * cap; ++i) noise += static_cast<char>('a' + i % 26);
    const std::string text =
        "CX:IX,2,Decimal,mm:X+012.70:Y+01.0000:XH000100::X+00.5000:" + std::string(cap + 1, 'X') +
        ":RX:x+254.00:Ix,1,a,b:Rx:I:I,0,x,y:IC,0,a,b:ID:II,1:IR,2:X\r:X:X-+9:XY+01.0000:XZHFF:"
        "YX+012.70:DXX+012.70:RXX+012.70:CXX+012.70:I}X+012.70:IXX+012.70:\rX+012.70:CY:IY,0,"
        "Dec,Inch,x:Y+01.2345:X+012.7" +
        std::string(cap - 7, '0') + ":X+012.7" + std::string(cap - 6, '0') + ":DY:DY:C:" + noise;
    std::mt19937 random(20261206);
    for (int n = 0; n < 303; ++n) {  // whole, a character at a time, colons alone, at random
        std::uniform_int_distribution<std::size_t> randomLength(0, n % 2 ? 8 : 6000);
        Rig r;
        for (std::size_t pos = 0, length = 0; pos < text.size(); pos += length) {
            const std::size_t toColon = std::max<std::size_t>(text.find(':', pos) - pos, 1);
            length = n == 0 ? text.size() : n == 1 ? 1 : n == 2 ? toColon : randomLength(random);
            r.sc.dataInput(text.substr(pos, length));
        }
        r.log.emplace_back(r.sc.pendingInput());
        ASSERT_EQ(r.log, (Log{"CI0", "AX", "PXDecimalmm 0.055556", "PXDecimalmm 0.054167",
                              "PXDecimalmm 0.109722", "ZX", "PXDecimalmm 1.111111", "CI0", "AY",
                              "PYDecInch,x 0.137167", "PXDecimalmm 1.111111", "RY", "CI0",
                              noise.substr(2 * cap)}))
            << "cutting " << n;
        ASSERT_TRUE(r.prompt.reports().empty());
    }
}

// The transmit mode is read only from a whole number, rounded half to even into 16 bits.
TEST(DataInput, InfoModeOrZero) {
    const std::pair<const char*, int> modes[] = {
        {"abc", 0}, {"99999", 0}, {"", 0},       {"-32769", 0}, {"-32768", -32768},
        {" 2 ", 2}, {"2.5", 2},   {" -1.5", -2}, {"&H1", 1},    {"2x", 0},
    };
    for (const auto& [mode, expected] : modes) {
        ScaleController sc;
        sc.dataInput(std::string("IX,") + mode + ",t,u:");
        EXPECT_EQ(sc.scales().item("X")->mode(), expected) << mode;
    }
}

// A listener may call dataInput: the inner call takes what is complete by then, the outer one
// carries on with what is left, and an aborted inner call leaves its later messages to it.
TEST(DataInput, ListenersMayCallItAgain) {
    Rig r;
    r.then = [&](const std::string& event, Scale*) {
        if (event == "CI0") r.sc.dataInput("2.0000:X+0");  // completes the reading the outer holds
    };
    r.sc.dataInput("CX:IX:X+01.0000:X+0");
    EXPECT_EQ(r.log, (Log{"CI0", "AX", "PX 0.111111", "PX 0.333333"}));  // "X+0" waits

    Rig n;
    n.then = [&](const std::string& event, Scale*) {
        if (event == "CI0" && n.log.size() > 1) throw Failure(Fault::NoSuchScale);
        if (event == "CI0") n.sc.dataInput("CY:IY:");
    };
    n.sc.dataInput("CX:IX:");
    EXPECT_EQ(n.log, (Log{"CI0", "AX", "CI0", "AY"}));

    // The listener takes away the scale it is told of (the reading "X+0" began): the record
    // outlives the event.
    r.then = [&](const std::string& event, Scale* s) {
        if (event[0] == 'P') r.sc.dataInput("D" + s->key() + ":");
        if (event[0] == 'P') r.log.push_back("after " + s->key());
    };
    r.sc.dataInput("3.0000:X+01.0000:");
    EXPECT_EQ(r.log.back(), "after X");
}

// Each guarded operation reports a missing key, or a fault of the listener on the first event
// it is told of, under its own name. Retry runs the step again, Ignore goes on with the next,
// Abort leaves the operation (dataInput's later messages wait for the next call).
TEST(ScaleController, FaultsAreReportedUnderTheOperationsName) {
    struct Case {
        const char* procedure;
        std::function<void(Rig&)> call;
        Log log;
        int fault = 0;  // in `faults`
        ErrorAnswer answer = ErrorAnswer::Abort;
    };
    // clang-format off
    const std::pair<Fault, std::string> faults[] = {
        {Fault::NoSuchScale, "5\r\n(Invalid procedure call or argument.)"}, {Fault::Overflow, "6\r\n(Overflow.)"},
        {Fault::DuplicateScale, "457\r\n(This key is already associated with an element of this collection.)"},
        {Fault::SettingsNotWritable, "75\r\n(Path/File access error.)"},
    };
    auto feed = [](Rig& r) { r.sc.dataInput("C:IQ:"); r.log.emplace_back(r.sc.pendingInput()); };
    const Case cases[] = {
        {"ResetRelative", [](Rig& r) { r.sc.resetRelative("Q"); }, {}},
        {"Reverse", [](Rig& r) { r.sc.setReversed("Q", true); }, {}},
        {"SetRelativeInch", [](Rig& r) { r.sc.setRelativeInch("Q", 1); }, {}},
        {"GetRelativeInch", [](Rig& r) { EXPECT_EQ(r.sc.relativeInch("Q"), 0); }, {}},
        {"Update", [](Rig& r) { r.sc.update("Q"); }, {}},
        {"AddScale", [](Rig& r) { r.sc.addScale(""); }, {}},
        {"AddScale", [](Rig& r) { r.sc.addScale("Q"); }, {"AQ"}, 3},
        {"RemoveScale", [](Rig& r) { r.sc.removeScale("X"); }, {"RX"}, 2},
        {"RemoveAll", [](Rig& r) { r.sc.removeAll(); }, {"RX"}, 1},
        {"ResetAbsolute", [](Rig& r) { r.sc.resetAbsolute("Q"); }, {"CZQ"}, 1},
        {"Refresh", [](Rig& r) { r.sc.dataInput("X+01.0000:C:"); }, {"PX 0.111111", "CI0"}, 1},
        {"DataInput", feed, {"CI0", "IQ:"}, 1},
        {"DataInput", feed, {"CI0", "CI0", "AQ", ""}, 1, ErrorAnswer::Retry},
        {"DataInput", feed, {"CI0", "AQ", ""}, 1, ErrorAnswer::Ignore},
    };
    // clang-format on
    for (const auto& c : cases) {
        Rig r;
        r.sc.dataInput("IX:IY:");
        r.log.clear();
        r.prompt.script({c.answer});
        r.then = [&](const std::string& event, Scale*) {
            if (r.prompt.reports().empty() && event == c.log.at(0))
                throw Failure(faults[c.fault].first);
        };
        c.call(r);
        EXPECT_EQ(r.log, c.log) << c.procedure;
        ASSERT_EQ(r.prompt.reports().size(), 1u) << c.procedure;
        EXPECT_EQ(r.prompt.reports()[0].text(),
                  "The following error occurred in\r\nmodule clsScaleControl, procedure " +
                      std::string(c.procedure) + "\r\n\r\nError Number " + faults[c.fault].second);
    }
}

// The demo's texts add and remove scales as a box would. Each record is announced before it
// goes; a listener may meanwhile take it out, or put a new one under its key.
TEST(ScaleController, AddingAndRemovingScales) {
    Rig r;
    for (int i : {0, 1})
        for (const auto& message : demoAddMessages(i)) r.sc.dataInput(message);
    r.sc.addScale("x");     // present: nothing
    r.sc.removeScale("Q");  // absent: nothing
    r.then = [&](const std::string& event, Scale*) {
        if (event == "RX" && r.log.size() == 7) r.sc.dataInput(demoRemoveMessage(0) + "IX:");
        if (event == "RY") r.log.push_back(std::to_string(r.sc.scales().count()));
    };
    r.sc.removeAll();
    EXPECT_EQ(r.log, (Log{"CI0", "AX", "PXDecimalInch 0.000000", "CI0", "AY",
                          "PYDecimalInch 0.000000", "RX", "RX", "AX", "RY", "2"}));
    const std::string& ownKey = r.sc.scales().find("X")->key();  // the new X, alone
    r.sc.removeScale(ownKey);  // a key owned by the record that goes
    EXPECT_EQ(r.log.back(), "RX");
    EXPECT_TRUE(r.prompt.reports().empty());
    ScaleController bare;  // no prompt of its own: it asks whichever is the default at the time
    gradel::testing::ScopedPrompt scoped;
    bare.update("Q");
    EXPECT_EQ(scoped.reports().size(), 1u);
}
