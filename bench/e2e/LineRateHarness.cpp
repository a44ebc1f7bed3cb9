// The whole program under load, measured: the real main window in this process (offscreen
// unless a display is given), on a real serial port, with gradel-boxsim behind a
// pseudo-terminal. It prints its figures; nothing here passes or fails by a clock.
//
// Phases (each can be shortened or skipped by its option, see --help):
//   idle     four scales in poll mode: the window's own floor
//   line     four scales streaming as fast as 115200 baud carries
//   fast     four scales at 50 readings a second each
//   hang     the box hangs mid-stream and comes back
//   cycles   the box unplugged and plugged in again, over and over
//   noise    random bytes, CR/LF, NUL and text without colons mixed into the stream
//   settings a settings store that cannot be read or written
// CPU time is this process's own (getrusage: user + system, all threads) over wall time;
// memory is VmRSS from /proc/self/status.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "scale/ErrorDialog.h"
#include "scale/clsScaleControl.h"
#include "tests/e2e/BoxProcess.h"
#include "tests/e2e/Station.h"
#include "window/clsIniFile.h"

namespace {

using e2e::BoxProcess;
using e2e::Station;

struct Options {
    double idle = 5, line = 30, fast = 30, hang = 10, noise = 180;
    int cycles = 100;
    bool settings = true;
    bool pace = true;
};

const char* kUsage =
    "usage: bench_e2e [--idle S] [--line S] [--fast S] [--hang S] [--cycles N] [--noise S]\n"
    "                 [--no-settings] [--no-pacing] [--quick]\n"
    "Seconds of each phase (0 skips it); --quick runs 2 s phases, 5 cycles, 5 s of noise.\n"
    "Defaults: idle 5, line 30, fast 30, hang 10, cycles 100, noise 180.\n"
    "--no-pacing shows every position change at once (the window before its readout pacer).\n";

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&](double& out) {
            if (i + 1 >= argc) return false;
            out = std::atof(argv[++i]);
            return true;
        };
        double d = 0;
        if (a == "--quick") {
            o.idle = o.line = o.fast = o.hang = 2;
            o.noise = 5;
            o.cycles = 5;
        } else if (a == "--no-pacing") {
            o.pace = false;
        } else if (a == "--no-settings") {
            o.settings = false;
        } else if (a == "--cycles" && next(d)) {
            o.cycles = static_cast<int>(d);
        } else if ((a == "--idle" && next(o.idle)) || (a == "--line" && next(o.line)) ||
                   (a == "--fast" && next(o.fast)) || (a == "--hang" && next(o.hang)) ||
                   (a == "--noise" && next(o.noise))) {
        } else {
            std::fputs(kUsage, a == "--help" ? stdout : stderr);
            return false;
        }
    }
    return true;
}

// ---- What the operating system says about this process ----

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

std::string LoadAverage() {
    std::ifstream f("/proc/loadavg");
    std::string a, b, c;
    f >> a >> b >> c;
    return a + " " + b + " " + c;
}

std::string CpuModel() {
    std::ifstream f("/proc/cpuinfo");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "?";
}

// ---- Watching the window while it runs ----

// Every 10 ms: how late the event loop let the tick run, and how long the controller's
// unfinished text is.
struct Watch {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 maxLateMs = 0;
    long ticks = 0, lateOver50 = 0;
    std::size_t maxBuffer = 0;
    std::function<void()> each;

    explicit Watch(Station& st) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this, &st] {
            const qint64 now = clock.elapsed();
            if (last >= 0) {
                const qint64 late = now - last - 10;
                maxLateMs = std::max(maxLateMs, late);
                if (late > 50) ++lateOver50;
            }
            last = now;
            ++ticks;
            if (st.w.SC) maxBuffer = std::max(maxBuffer, st.w.SC->InputBuffer().size());
            if (each) each();
        });
        clock.start();
        timer.start();
    }
};

// Paint events of the panels' readouts and dials.
class PaintCounter : public QObject {
  public:
    long paints = 0;
    void Watch(Station& st) {
        for (const AxisPanel& p : st.w.Panels())
            for (QWidget* w : std::initializer_list<QWidget*>{p.ddMM, p.ddInch, p.AnalogueDial_}) {
                w->installEventFilter(this);
                for (QWidget* c : w->findChildren<QWidget*>()) c->installEventFilter(this);
            }
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// An error dialog that answers Ignore and counts.
class CountingDialog : public gradel::IErrorDialog {
  public:
    gradel::ErrorAnswer Ask(const gradel::ErrorReport& report) override {
        ++reports;
        last = report.Text();
        return gradel::ErrorAnswer::Ignore;
    }
    int reports = 0;
    std::string last;
};

void Wait(double seconds) {
    QTest::qWait(static_cast<int>(seconds * 1000));
}

const QStringList kKeys = {"W", "X", "Y", "Z"};
QStringList FourScales(const QStringList& more) {
    return QStringList{"--scales", "WXYZ", "--format", "W=mm,X=inch,Y=hex,Z=mm"} + more;
}

// How far each readout is from what the last nine readings received give (Y counts
// reversed), in inches; and the worst.
double WorstDeviation(Station& st, const QStringList& keys) {
    double worst = 0;
    for (const QString& key : keys) {
        const char k = key.toLatin1()[0];
        const double sign = k == 'Y' ? -1 : 1;
        worst = std::max(worst, std::abs(st.Dial(key) - sign * st.tap.Average(k)));
    }
    return worst;
}

// ---- Phases ----

bool g_pace = false;

void Stream(const char* name, const QStringList& rate, double seconds, bool idleOnly = false) {
    if (seconds <= 0) return;
    BoxProcess box;
    if (!box.Plug(FourScales(QStringList{"--motion", "sine"} + rate))) {
        std::printf("%s: the box did not start\n", name);
        return;
    }
    Station::ForgetPort();
    Station st(box);
    st.Start();
    st.ChoosePort();
    if (!st.WaitForPanels(kKeys, 10000)) {
        std::printf("%s: panels did not appear\n", name);
        return;
    }
    if (idleOnly) st.w.SendToBox("S0");
    // Without pacing every change is shown at once, as before the pacer: the window's frame
    // is then zero.
    if (!g_pace) st.w.Readouts.SetFrameMs(0);
    const long immediate0 = st.w.Readouts.Immediate(), held0 = st.w.Readouts.Held();
    PaintCounter paints;
    paints.Watch(st);
    Wait(2);  // settle
    Watch watch(st);
    const long rss0 = RssKb();
    const long long readings0 = st.tap.WellFormed();
    const long long bytes0 = st.tap.Bytes();
    const long paints0 = paints.paints;
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    long rssPeak = rss0;
    watch.each = [&] {
        if (watch.ticks % 100 == 0) rssPeak = std::max(rssPeak, RssKb());
    };
    Wait(seconds);
    const double cpu = CpuSeconds() - cpu0;
    const double secs = static_cast<double>(wall.elapsed()) / 1000.0;
    const long rss1 = RssKb();
    const double readings = static_cast<double>(st.tap.WellFormed() - readings0);
    const double bytes = static_cast<double>(st.tap.Bytes() - bytes0);
    const double paintRate = static_cast<double>(paints.paints - paints0) / secs;
    // The stream stops (poll mode); what is shown must be what the last readings give.
    st.w.SendToBox("S0");
    Wait(0.5);
    const double worst = WorstDeviation(st, kKeys);
    const std::size_t bufferAfter = st.w.SC->InputBuffer().size();
    box.Unplug();
    (void)QTest::qWaitFor([&] { return !st.w.PortOpen(); }, 3000);
    std::printf(
        "%s: %.1f s, %.0f readings/s received (%.0f bytes/s), CPU %.2f %% of one core "
        "(%.2f s), readout paints %.0f/s, RSS %ld -> %ld kB (peak %ld), parser buffer max %zu "
        "B (after stop %zu), event loop late max %lld ms (%ld ticks > 50 ms late of %ld), "
        "readouts vs last nine readings after stop: worst %.2g inch, bytes received %lld / sent "
        "%lld\n",
        name, secs, readings / secs, bytes / secs, 100.0 * cpu / secs, cpu, paintRate, rss0, rss1,
        rssPeak, watch.maxBuffer, bufferAfter, static_cast<long long>(watch.maxLateMs),
        watch.lateOver50, watch.ticks, worst, st.tap.Bytes(), box.SentBytes().value_or(-1));
    std::printf(
        "  readout pacing: frame %d ms, positions shown at once %ld, held to the frame's "
        "end %ld\n",
        st.w.Readouts.FrameMs(), st.w.Readouts.Immediate() - immediate0,
        st.w.Readouts.Held() - held0);
    std::fflush(stdout);
}

void Hang(double seconds) {
    if (seconds <= 0) return;
    BoxProcess box;
    box.Plug(FourScales({"--motion", "sine", "--rate", "line"}));
    Station::ForgetPort();
    Station st(box);
    st.Start();
    st.ChoosePort();
    st.WaitForPanels(kKeys, 10000);
    Wait(2);
    int hangs = 0, midMessage = 0;
    double worst = 0;
    Watch watch(st);
    QElapsedTimer wall;
    wall.start();
    while (static_cast<double>(wall.elapsed()) < seconds * 1000) {
        box.Freeze();
        Wait(0.5);
        ++hangs;
        if (!st.w.SC->InputBuffer().empty()) ++midMessage;
        worst = std::max(worst, WorstDeviation(st, kKeys));
        box.Resume();
        Wait(0.5);
    }
    box.Unplug();
    std::printf(
        "hang: %d hangs of 0.5 s at line rate, %d of them mid-message; readouts vs last nine "
        "readings while hung: worst %.2g inch; event loop late max %lld ms; panels %s\n",
        hangs, midMessage, worst, static_cast<long long>(watch.maxLateMs),
        st.KeysOnScreen().join(',').toLatin1().constData());
    std::fflush(stdout);
}

void Cycles(int cycles) {
    if (cycles <= 0) return;
    BoxProcess box;
    const QStringList still = {"--scales", "XY", "--motion", "still"};
    box.Plug(still);
    Station::ForgetPort();
    Station st(box);
    st.Start();
    st.ChoosePort();
    st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}, 10000);
    Wait(1);
    const long rss0 = RssKb();
    QElapsedTimer wall;
    wall.start();
    int survived = 0;
    for (int i = 0; i < cycles; ++i) {
        box.Unplug();
        const bool gone =
            QTest::qWaitFor([&] { return !st.w.PortOpen(); }, 3000) && st.WaitForPanels({}, 3000);
        if (!box.Plug(still)) break;
        st.ChoosePort();
        const bool back = st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}, 5000) &&
                          st.KeysOnScreen() == QStringList({"X", "Y"});
        if (!gone || !back) {
            std::printf("cycles: cycle %d failed (gone %d, back %d)\n", i + 1, gone, back);
            break;
        }
        ++survived;
        if (i == 9) std::printf("cycles: after 10, RSS %ld kB\n", RssKb());
    }
    const long rss1 = RssKb();
    std::printf(
        "cycles: %d of %d unplug/plug-in cycles survived in %.1f s (scales gone, port "
        "chosen again, both readouts exact), panels made %zu, RSS %ld -> %ld kB\n",
        survived, cycles, static_cast<double>(wall.elapsed()) / 1000.0, st.w.Panels().size(), rss0,
        rss1);
    std::fflush(stdout);
}

void Noise(double seconds) {
    if (seconds <= 0) return;
    BoxProcess box;
    const QStringList options = {"--scales", "WXYZ",  "--format", "W=mm,X=inch,Y=hex,Z=mm",
                                 "--motion", "still", "--noise",  "0.5",
                                 "--seed",   "11"};
    box.Plug(options);
    Station::ForgetPort();
    Station st(box);
    st.Start();
    st.ChoosePort();
    // Still scales at 12.7, 25.4, 38.1 and 50.8 mm (Y counted reversed).
    const std::map<QString, QString> truth = {
        {"W", "12.70"}, {"X", "25.40"}, {"Y", "-38.10"}, {"Z", "50.80"}};
    if (!st.WaitForMm(truth, 10000)) std::printf("noise: readouts did not settle\n");
    Watch watch(st);
    long wrong = 0, missing = 0, samples = 0;
    watch.each = [&] {
        ++samples;
        for (const auto& [key, text] : truth) {
            const QString shown = st.Mm(key);
            if (shown.isEmpty())
                ++missing;
            else if (shown != text)
                ++wrong;
        }
    };
    const long rss0 = RssKb();
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    long rssMid = 0;
    while (static_cast<double>(wall.elapsed()) < seconds * 1000) {
        Wait(1);
        if (!rssMid && static_cast<double>(wall.elapsed()) > seconds * 500) rssMid = RssKb();
    }
    const double secs = static_cast<double>(wall.elapsed()) / 1000.0;
    const double cpu = CpuSeconds() - cpu0;
    const long rss1 = RssKb();
    box.Unplug();
    std::printf(
        "noise: %.0f s; box report: %s; received %lld bytes, %lld well-formed readings, %lld "
        "other messages; readouts sampled %ld times x 4: %ld showed a value no reading gave, "
        "%ld missing; parser buffer max %zu B; event loop late max %lld ms (%ld ticks > 50 ms "
        "late of %ld); CPU %.2f %%; RSS %ld -> %ld -> %ld kB\n",
        secs, box.Report().toLatin1().constData(), st.tap.Bytes(), st.tap.WellFormed(),
        st.tap.Other(), samples, wrong, missing, watch.maxBuffer,
        static_cast<long long>(watch.maxLateMs), watch.lateOver50, watch.ticks, 100.0 * cpu / secs,
        rss0, rssMid, rss1);
    std::fflush(stdout);
}

void Settings(CountingDialog& dialog, const QString& settingsHome) {
    const QString app = gradel::clsIniFile::ExecutableName();
    const QString folder = settingsHome + '/' + app;
    const QString file = folder + '/' + app + ".conf";
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"the settings file is a folder", [&] { QDir().mkpath(file); }},
        {"the settings folder is a file",
         [&] {
             QFile f(folder);
             f.open(QIODevice::WriteOnly);
             f.write("x");
         }},
    };
    for (const auto& [name, spoil] : cases) {
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        spoil();
        dialog.reports = 0;
        BoxProcess box;
        box.Plug({"--scales", "XY", "--motion", "still"});
        Station::ForgetPort();
        Station st(box);
        st.Start();
        st.ChoosePort();
        const bool shown = st.WaitForMm({{"X", "12.70"}, {"Y", "-25.40"}}, 5000);
        std::printf("settings: %s: port open %d, readouts right %d, error reports %d (%s)\n", name,
                    st.w.PortOpen(), shown, dialog.reports,
                    dialog.last.substr(0, dialog.last.find('\n')).c_str());
        dialog.last.clear();
    }
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) return 2;
    // A settings store of its own, never the user's.
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsHome.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    CountingDialog dialog;
    gradel::SetCurrentErrorDialog(&dialog);

    std::printf("machine: %s, %ld cores, platform %s, load average %s\n", CpuModel().c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN), qPrintable(QApplication::platformName()),
                LoadAverage().c_str());
    std::fflush(stdout);
    g_pace = o.pace;
    Stream("idle (poll mode)", {"--rate", "50"}, o.idle, true);
    Stream("line rate", {"--rate", "line"}, o.line);
    Stream("fast mode 50/s per scale", {"--rate", "50"}, o.fast);
    Hang(o.hang);
    Cycles(o.cycles);
    Noise(o.noise);
    if (o.settings) Settings(dialog, settingsHome.path());
    std::printf(
        "load average at the end %s; error reports outside the settings phase: see "
        "above\n",
        LoadAverage().c_str());
    gradel::SetCurrentErrorDialog(nullptr);
    return 0;
}
