#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "scale/DemoMessages.h"
#include "scale/clsScaleControl.h"
#include "tests/support/ScriptedErrorDialog.h"

using namespace gradel;
using gradel::testing::ScriptedErrorDialog;
using Log = std::vector<std::string>;

namespace {

// A controller whose events are written to a log as short texts.
struct Rig {
    ScriptedErrorDialog dialog;
    clsScaleControl sc{dialog};
    Log log;
    Rig() {
        sc.PositionUpdate = [this](clsGradel& g) {
            char value[32];
            std::snprintf(value, sizeof value, "%.6g", static_cast<double>(g.AbsValueInch()));
            log.push_back("PU " + g.Key() + " " + value);
        };
        sc.ScaleAdded = [this](clsGradel& g) {
            log.push_back("Added " + g.Key() + " mode " + std::to_string(g.Mode()) + " " +
                          g.ScaleType() + "/" + g.Unit());
        };
        sc.ScaleRemoved = [this](const std::string& key) { log.push_back("Removed " + key); };
        sc.ScaleComms = [this](const std::string& m) { log.push_back("Comms " + m); };
    }
    std::string Describe(const std::string& key) {
        auto g = sc.Scales().Item(key);
        return std::to_string(g->Mode()) + " " + g->ScaleType() + "/" + g->Unit();
    }
};

const std::string kOverlong(clsScaleControl::kInputBufferCap + 1, 'X');

// Connect, info, readings in all formats, an unknown key, lower-case keys, a reset, line noise,
// a second scale, disconnects, and a message left unfinished.
const std::string kTranscript =
    "CX:IX,2,Decimal,mm:X+012.70:Y+01.0000:XH000100::X+00.5000:" + kOverlong +
    ":RX:x+254.00:Ix,1,a,b:Rx:I:CY:IY,0,Dec,Inch,x:" + "Y+01.2345:DX:DX:DY:Y+0";
const Log kTranscriptLog = {"Comms I0",       "Added X mode 0 /", "PU X 0.0555556",
                            "PU X 0.0541667", "PU X 0.109722",    "PU X 1.11111",
                            "Comms I0",       "Added Y mode 0 /", "PU Y 0.137167",
                            "Removed X",      "Removed Y"};

Log FeedBlocks(const std::vector<std::string>& blocks, std::string* rest = nullptr) {
    Rig r;
    for (const auto& b : blocks) r.sc.DataInput(b);
    if (rest) *rest = std::string(r.sc.InputBuffer());
    EXPECT_TRUE(r.dialog.reports.empty());
    return r.log;
}

}  // namespace

// The same events however the text is cut into blocks: whole, a character at a time, colons
// alone, and many random cuttings.
TEST(DataInput, AnyCuttingGivesTheSameEvents) {
    std::vector<std::vector<std::string>> cuttings;
    std::vector<std::string> chars, colonsAlone{""};
    for (char c : kTranscript) {
        chars.emplace_back(1, c);
        if (c == ':')
            colonsAlone.insert(colonsAlone.end(), {":", ""});
        else
            colonsAlone.back() += c;
    }
    cuttings.push_back({kTranscript});
    cuttings.push_back(chars);
    cuttings.push_back(colonsAlone);
    std::mt19937 random(20261206);
    for (int n = 0; n < 300; ++n) {
        std::vector<std::string> blocks;
        std::size_t pos = 0;
        const int maxLen = n % 2 ? 8 : 6000;
        while (pos < kTranscript.size()) {
            const auto len = std::uniform_int_distribution<std::size_t>(0, maxLen)(random);
            blocks.push_back(kTranscript.substr(pos, len));
            pos += len;
        }
        cuttings.push_back(blocks);
    }
    for (std::size_t i = 0; i < cuttings.size(); ++i) {
        std::string rest;
        ASSERT_EQ(FeedBlocks(cuttings[i], &rest), kTranscriptLog) << "cutting " << i;
        ASSERT_EQ(rest, "Y+0") << "cutting " << i;
    }
}

// Box text never opens a dialog: malformed fields read as 0, keyless info adds nothing.
TEST(DataInput, MalformedTextIsQuiet) {
    const std::pair<const char*, const char*> modes[] = {
        {"abc", "0"}, {"99999", "0"}, {"", "0"},    {"-32769", "0"}, {"-32768", "-32768"},
        {" 2 ", "2"}, {"2.5", "2"},   {"1.5", "2"}, {"&H1", "1"},    {"2x", "0"},
    };
    for (const auto& [mode, expected] : modes) {
        Rig r;
        r.sc.DataInput(std::string("IX,") + mode + ",t,u:");
        EXPECT_EQ(r.Describe("X"), std::string(expected) + " t/u") << mode;
        EXPECT_TRUE(r.dialog.reports.empty()) << mode;
    }
    Rig r;
    r.sc.DataInput("I:I,0,x,y:IC,0,a,b:ID:II,1:IR,2:X+01.0000:");
    EXPECT_EQ(r.sc.Scales().Count(), 0);
    r.sc.DataInput("IX:XH800000:");
    EXPECT_EQ(r.log, (Log{"Added X mode 0 /", "PU X 45.5111"}));  // (1 + 2^31) / 5242880 / 9
    EXPECT_TRUE(r.dialog.reports.empty());
}

TEST(DataInput, LowerCaseKeysReachOnlyThroughTheCollection) {
    Rig r;
    r.sc.DataInput("IX,2,T,U,V:X+09.0000:Ix,1,a,b:Rx:x+09.0000:");
    EXPECT_EQ(r.Describe("X"), "2 T/U,V");
    EXPECT_EQ(r.log.back(), "PU X 2");
    r.sc.DataInput("RX:");
    EXPECT_EQ(r.sc.Scales().Item("X")->AbsValueInch(), 0.0f);
}

TEST(DataInput, UnfinishedTextIsCappedAndItsMessageDropped) {
    const std::size_t cap = clsScaleControl::kInputBufferCap;
    Rig r;
    r.sc.DataInput("IX:");
    std::string noise;
    for (std::size_t i = 0; i < 3 * cap; ++i) noise += static_cast<char>('a' + i % 26);
    r.sc.DataInput(noise);
    EXPECT_EQ(r.sc.InputBuffer(), noise.substr(2 * cap));
    r.sc.DataInput(noise.substr(0, 100));
    EXPECT_EQ(r.sc.InputBuffer(), noise.substr(2 * cap + 100) + noise.substr(0, 100));
    r.sc.DataInput(":X+01.0000:");
    EXPECT_EQ(r.log.size(), 2u);  // ScaleAdded, then the reading; the noise did nothing
    // A message of exactly the cap is still a message; one character more is dropped.
    r.sc.DataInput("X+012.7" + std::string(cap - 7, '0') + ":X+012.7" + std::string(cap - 6, '0') +
                   ":");
    EXPECT_EQ(r.log.size(), 3u);
    EXPECT_EQ(r.sc.InputBuffer(), "");
}

TEST(DataInput, HandlersMayCallItAgain) {
    Rig r;
    int inner = 0;
    r.sc.ScaleComms = [&](const std::string&) {
        r.log.push_back("Comms");
        if (inner++ == 0) r.sc.DataInput("2.0000:X+0");  // completes the reading the outer holds
    };
    r.sc.DataInput("CX:IX:X+01.0000:X+0");
    EXPECT_EQ(r.log, (Log{"Comms", "Added X mode 0 /", "PU X 0.111111", "PU X 0.333333"}));
    EXPECT_EQ(r.sc.InputBuffer(), "X+0");
    r.sc.DataInput("3.0000:");
    EXPECT_EQ(r.log.back(), "PU X 0.666667");

    // An aborted inner call leaves its later messages to the outer call.
    Rig n;
    int depth = 0;
    n.sc.ScaleComms = [&](const std::string&) {
        n.log.push_back("Comms");
        if (++depth == 1)
            n.sc.DataInput("CY:IY:");
        else
            throw RunTimeError::Overflow();
    };
    n.sc.DataInput("CX:IX:");
    EXPECT_EQ(n.log, (Log{"Comms", "Added X mode 0 /", "Comms", "Added Y mode 0 /"}));
    EXPECT_EQ(n.dialog.reports.size(), 1u);

    // A handler removes the scale whose reading it is handling: the record outlives the call.
    r.sc.PositionUpdate = [&](clsGradel& g) {
        r.sc.DataInput("D" + g.Key() + ":");
        r.log.push_back("after " + g.Key());
    };
    r.sc.DataInput("X+01.0000:X+01.0000:");
    EXPECT_EQ(r.log.back(), "after X");
    EXPECT_EQ(r.sc.Scales().Count(), 0);
}

// A fault in a handler of DataInput's own step: Abort leaves the later messages in the buffer.
TEST(DataInput, HandlerFaultGoesThroughItsDialog) {
    const std::pair<ErrorAnswer, Log> cases[] = {
        {ErrorAnswer::Abort, {"Comms I0"}},
        {ErrorAnswer::Retry, {"Comms I0", "Comms I0", "Added X mode 0 /"}},
        {ErrorAnswer::Ignore, {"Comms I0", "Added X mode 0 /"}},
    };
    for (const auto& [answer, expected] : cases) {
        Rig r;
        r.dialog.Script({answer});
        auto logComms = r.sc.ScaleComms;
        int calls = 0;
        r.sc.ScaleComms = [&](const std::string& m) {
            logComms(m);
            if (calls++ == 0) throw RunTimeError::TypeMismatch();
        };
        r.sc.DataInput("CX:IX:");
        EXPECT_EQ(r.log, expected);
        ASSERT_EQ(r.dialog.reports.size(), 1u);
        EXPECT_EQ(r.dialog.reports[0].Text(),
                  "The following error occurred in\r\nmodule clsScaleControl, procedure DataInput"
                  "\r\n\r\nError Number 13\r\n(Type mismatch.)");
        EXPECT_EQ(r.sc.InputBuffer(), answer == ErrorAnswer::Abort ? "IX:" : "");
    }
}

// Every member that looks a key up reports a missing one with its own text.
TEST(clsScaleControl, MissingKeyGoesThroughTheDialog) {
    struct Case {
        const char* procedure;
        std::function<void(clsScaleControl&)> call;
        std::size_t reportsOnIgnore;
    };
    float got = -1;
    bool rev = true;
    const Case cases[] = {
        {"ResetRelative", [](clsScaleControl& s) { s.ResetRelative("Q"); }, 1},
        {"Reverse", [&](clsScaleControl& s) { rev = s.Reverse("Q", true); }, 2},
        {"SetRelativeInch", [](clsScaleControl& s) { s.SetRelativeInch("Q", 1); }, 1},
        {"GetRelativeInch", [&](clsScaleControl& s) { got = s.GetRelativeInch("Q"); }, 1},
        {"Update", [](clsScaleControl& s) { s.Update("Q"); }, 1},
    };
    for (const auto& c : cases) {
        for (ErrorAnswer answer : {ErrorAnswer::Abort, ErrorAnswer::Ignore}) {
            Rig r;
            r.dialog.Script({answer, answer});
            c.call(r.sc);
            ASSERT_EQ(r.dialog.reports.size(), answer == ErrorAnswer::Abort ? 1 : c.reportsOnIgnore)
                << c.procedure;
            EXPECT_EQ(r.dialog.reports[0].Text(),
                      std::string("The following error occurred in\r\nmodule clsScaleControl, "
                                  "procedure ") +
                          c.procedure +
                          "\r\n\r\nError Number 5\r\n(Invalid procedure call or argument.)");
            EXPECT_TRUE(r.log.empty()) << c.procedure;
        }
    }
    EXPECT_EQ(got, 0.0f);
    EXPECT_FALSE(rev);

    // Retry runs the failing step again: the scale arrives while the dialog is up.
    Rig r;
    struct Arriving : IErrorDialog {
        clsScaleControl* sc = nullptr;
        ErrorAnswer Ask(const ErrorReport&) override {
            sc->DataInput("IQ:");
            return ErrorAnswer::Retry;
        }
    } arriving;
    clsScaleControl sc(arriving);
    arriving.sc = &sc;
    sc.PositionUpdate = r.sc.PositionUpdate;
    sc.Update("Q");
    EXPECT_EQ(r.log, (Log{"PU Q 0"}));
}

TEST(clsScaleControl, MembersOnKnownScales) {
    Rig r;
    r.sc.DataInput("IX:IY:X+09.0000:");
    EXPECT_FALSE(r.sc.Reverse("X"));
    EXPECT_TRUE(r.sc.Reverse("x", true));
    EXPECT_TRUE(r.sc.Reverse("X"));
    r.sc.SetRelativeInch("X", 0.25f);
    EXPECT_EQ(r.sc.GetRelativeInch("X"), 0.25f);
    r.log.clear();
    r.sc.ResetAbsolute("X");
    r.sc.ResetAbsolute("Q");  // no record needed: only the command goes out
    r.sc.Update("X");
    r.sc.AddScale("x");     // present: nothing
    r.sc.RemoveScale("Q");  // absent: nothing
    EXPECT_EQ(r.log, (Log{"Comms ZX", "Comms ZQ", "PU X 1"}));

    r.log.clear();
    std::vector<int> countsSeen;
    auto logRemoved = r.sc.ScaleRemoved;
    r.sc.ScaleRemoved = [&](const std::string& k) {
        logRemoved(k);
        countsSeen.push_back(r.sc.Scales().Count());
        if (countsSeen.size() == 1) r.sc.DataInput("DX:");  // taking a record out first is harmless
    };
    r.sc.RemoveAll();
    EXPECT_EQ(r.log, (Log{"Removed X", "Removed X", "Removed Y"}));
    EXPECT_EQ(countsSeen, (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(r.sc.Scales().Count(), 0);
    EXPECT_TRUE(r.dialog.reports.empty());

    // The key passed in may belong to the record being removed.
    r.sc.DataInput("IZ:");
    const std::string& ownKey = r.sc.Scales().Item("Z")->Key();
    r.sc.RemoveScale(ownKey);
    EXPECT_EQ(r.log.back(), "Removed Z");
}

TEST(DemoMessages, AddAndRemove) {
    EXPECT_EQ(DemoAddMessages(1),
              (std::vector<std::string>{"CY:", "IY,0,Decimal,Inch:", "Y+00.0000:"}));
    Rig r;
    for (const auto& m : DemoAddMessages(0)) r.sc.DataInput(m);
    r.sc.DataInput(DemoRemoveMessage(0));
    r.sc.DataInput(DemoRemoveMessage(0));
    EXPECT_EQ(r.log, (Log{"Comms I0", "Added X mode 0 /", "PU X 0", "Removed X"}));
    EXPECT_EQ(DemoRemoveMessage(2), "DZ:");
}
