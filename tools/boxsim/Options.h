#pragma once
// Command line of gradel-boxsim.
#include <optional>
#include <string>
#include <vector>

#include "tools/boxsim/Box.h"

namespace boxsim {

struct Options {
    std::vector<ScaleSetup> scales{{'X', Format::Millimetre}, {'Y', Format::Millimetre}};
    Motion motion = Motion::Sine;
    double fastRate = 50;     // readings a second per scale in fast mode (0: as fast as the line)
    double slowRate = 5;      // in slow mode
    int startMode = 0;        // until the program chooses one
    double noise = 0;         // chance per reading of line noise before it
    double unplugAfter = -1;  // seconds; < 0: never
    double duration = -1;     // seconds; < 0: until stopped
    std::string link;         // a symlink to make to the pseudo-terminal
    unsigned seed = 1;
    bool exitOnStdinEof = false;
    bool verbose = false;
    bool report = false;  // at the end, print what was put on the line
};

// Parses argv; on an error returns nullopt and fills `error`.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);
const char* usage();

}  // namespace boxsim
