#include "tools/boxsim/Options.h"

#include <cstdlib>
#include <map>

namespace boxsim {

namespace {

bool parseNumber(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

std::optional<Format> parseFormat(const std::string& name) {
    if (name == "mm") return Format::Millimetre;
    if (name == "inch") return Format::Inch;
    if (name == "hex") return Format::Hex;
    return std::nullopt;
}

// "mm" for every scale, or "X=mm,Y=inch,Z=hex".
bool applyFormats(const std::string& text, std::vector<ScaleSetup>& scales) {
    if (auto all = parseFormat(text)) {
        for (ScaleSetup& s : scales) s.format = *all;
        return true;
    }
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        const std::string item = text.substr(pos, comma - pos);
        if (item.size() < 3 || item[1] != '=') return false;
        const auto format = parseFormat(item.substr(2));
        if (!format) return false;
        bool found = false;
        for (ScaleSetup& s : scales)
            if (s.key == item[0]) s.format = *format, found = true;
        if (!found) return false;
        pos = comma + 1;
    }
    return true;
}

}  // namespace

const char* usage() {
    return "usage: gradel-boxsim [options]\n"
           "A simulated interface box on a pseudo-terminal. Prints the terminal's path on the\n"
           "first line of its output, then serves the program that opens it.\n"
           "  --scales KEYS          scale keys, e.g. XYZ (default XY; not C, D, I, R or :)\n"
           "  --format F             mm, inch or hex for every scale, or per scale:\n"
           "                         X=mm,Y=inch,Z=hex (mm \"+012.70\", inch \"+01.2500\",\n"
           "                         hex \"H000100\"); default mm\n"
           "  --motion M             still, ramp or sine (default sine)\n"
           "  --rate N               fast readings a second per scale (default 50; 0 or 'line':\n"
           "                         as fast as 115200 baud allows)\n"
           "  --slow-rate N          slow readings a second per scale (default 5)\n"
           "  --start-mode M         transmit mode before the program picks one: 0 poll,\n"
           "                         1 slow, 2 fast (default 0)\n"
           "  --noise P              chance (0..1) per reading of random bytes, CR, LF, NUL or\n"
           "                         printable text without a colon\n"
           "  --unplug-after S       close the terminal after S seconds (the box vanishes)\n"
           "  --duration S           stop after S seconds\n"
           "  --link PATH            make PATH a symlink to the terminal\n"
           "  --seed N               seed of the noise\n"
           "  --exit-on-stdin-eof    stop when standard input closes (when run by the program)\n"
           "  --verbose              log commands and connections on standard error\n"
           "  --report               at the end, print \"sent B bytes R readings N noise\" (bytes\n"
           "                         written to the terminal, readings and noise bytes queued)\n";
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    std::string formats;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        double d = 0;
        if (a == "--help" || a == "-h") {
            error.clear();
            return std::nullopt;
        } else if (a == "--exit-on-stdin-eof") {
            o.exitOnStdinEof = true;
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--report") {
            o.report = true;
        } else if (!value(v)) {
            error = "unknown or incomplete option " + a;
            return std::nullopt;
        } else if (a == "--scales") {
            o.scales.clear();
            for (char k : v) {
                if (k == 'C' || k == 'D' || k == 'I' || k == 'R' || k == ':') {
                    error = std::string("a scale cannot be called ") + k;
                    return std::nullopt;
                }
                o.scales.push_back({k, Format::Millimetre});
            }
            if (o.scales.empty()) return error = "no scales", std::nullopt;
        } else if (a == "--format") {
            formats = v;
        } else if (a == "--motion") {
            static const std::map<std::string, Motion> motions = {
                {"still", Motion::Still}, {"ramp", Motion::Ramp}, {"sine", Motion::Sine}};
            auto it = motions.find(v);
            if (it == motions.end()) return error = "unknown motion " + v, std::nullopt;
            o.motion = it->second;
        } else if (a == "--rate" && (v == "line" || (parseNumber(v, d) && d >= 0))) {
            o.fastRate = v == "line" ? 0 : d;
        } else if (a == "--slow-rate" && parseNumber(v, d) && d > 0) {
            o.slowRate = d;
        } else if (a == "--start-mode" && (v == "0" || v == "1" || v == "2")) {
            o.startMode = v[0] - '0';
        } else if (a == "--noise" && parseNumber(v, d) && d >= 0 && d <= 1) {
            o.noise = d;
        } else if (a == "--unplug-after" && parseNumber(v, d) && d >= 0) {
            o.unplugAfter = d;
        } else if (a == "--duration" && parseNumber(v, d) && d >= 0) {
            o.duration = d;
        } else if (a == "--link") {
            o.link = v;
        } else if (a == "--seed" && parseNumber(v, d) && d >= 0) {
            o.seed = static_cast<unsigned>(d);
        } else {
            error = "bad option " + a + " " + v;
            return std::nullopt;
        }
    }
    // Formats apply to the scales as finally chosen, whatever the order of the options.
    if (!formats.empty() && !applyFormats(formats, o.scales)) {
        error = "bad format " + formats;
        return std::nullopt;
    }
    return o;
}

}  // namespace boxsim
