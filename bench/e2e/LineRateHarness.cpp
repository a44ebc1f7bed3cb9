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
//   drag     the cost of saving a zero point, and of an Adj drag that moves one at mouse rate
// CPU time is this process's own (getrusage: user + system, all threads) over wall time;
// memory is VmRSS from /proc/self/status.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "base/ErrorTrap.h"
#include "panels/PanelStack.h"
#include "scale/Scale.h"
#include "tests/e2e/Station.h"
#include "window/ZeroPointStore.h"

namespace gradel {
namespace {

using testing::BoxProcess;
using testing::Station;

struct Options {
    double idle = 5, line = 30, fast = 30, hang = 10, noise = 180;
    int cycles = 100;
    int drag = 300;  // mouse moves of the Adj drag (and zero point saves timed on their own)
    bool settings = true;
    bool pace = true;
};

const char* kUsage =
    "usage: bench_e2e [--idle S] [--line S] [--fast S] [--hang S] [--cycles N] [--noise S]\n"
    "                 [--drag N] [--no-settings] [--no-pacing] [--quick]\n"
    "Seconds of each phase (0 skips it); --quick runs 2 s phases, 5 cycles, 5 s of noise.\n"
    "Defaults: idle 5, line 30, fast 30, hang 10, cycles 100, noise 180, drag 300 moves.\n"
    "--no-pacing shows every position change at once (the window before its readout pacer).\n";

bool parseOptions(int argc, char** argv, Options& o) {
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
        } else if (a == "--drag" && next(d)) {
            o.drag = static_cast<int>(d);
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

double cpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

std::string loadAverage() {
    std::ifstream f("/proc/loadavg");
    std::string a, b, c;
    f >> a >> b >> c;
    return a + " " + b + " " + c;
}

std::string cpuModel() {
    std::ifstream f("/proc/cpuinfo");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "?";
}

// ---- The station, and what the harness reads from it besides the tests' checks ----

// A station that also counts the bytes and messages the port delivered.
class CountedStation : public Station {
  public:
    explicit CountedStation(const BoxProcess& box) : Station(box) {
        QObject::connect(&window().link(), &SerialLink::textReceived, &window(),
                         [this](const std::string& text) {
                             bytes_ += static_cast<long long>(text.size());
                             messages_ += std::count(text.begin(), text.end(), ':');
                         });
    }
    long long bytes() const { return bytes_; }
    long long messages() const { return messages_; }
    long long readings(const QStringList& keys) {
        long long n = 0;
        for (const QString& key : keys) n += tap().readings(key.toLatin1()[0]);
        return n;
    }

    // Read straight from the panel, so that sampling it costs next to nothing.
    const AxisPanel* panel(const QString& key) {
        const AxisPanel* p = window().panels().panel(key);
        return p && p->isVisible() ? p : nullptr;
    }
    QString mm(const QString& key) {
        const AxisPanel* p = panel(key);
        return p ? p->mmReadout().text() : QString();
    }
    // Keys of the shown panels from the top of the window down.
    QStringList keysOnScreen() {
        std::map<int, QString> byTop;
        for (const AxisPanel* p : window().findChildren<AxisPanel*>())
            if (p->isVisible()) byTop[p->y()] += p->key();
        QStringList keys;
        for (const auto& [top, key] : byTop) keys << key;
        return keys;
    }
    bool waitForPanels(const QStringList& keys, int ms) {
        return QTest::qWaitFor([&] { return keysOnScreen() == keys; }, ms);
    }
    bool waitForMm(const std::map<QString, QString>& shown, int ms) {
        return QTest::qWaitFor(
            [&] {
                for (const auto& [key, text] : shown)
                    if (mm(key) != text) return false;
                return true;
            },
            ms);
    }
    std::size_t pendingInput() { return window().controller().pendingInput().size(); }

  private:
    long long bytes_ = 0;
    long long messages_ = 0;
};

// The bytes the box says it sent ("sent B bytes ..."), -1 if it did not say.
long long sentBytes(const QString& report) {
    bool ok = false;
    const long long n = report.section(u' ', 1, 1).toLongLong(&ok);
    return ok ? n : -1;
}

// Every 10 ms: how late the event loop let the tick run, and how long the controller's
// unfinished text is.
class Watch {
  public:
    explicit Watch(CountedStation& st) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, &st] {
            const qint64 now = clock_.elapsed();
            if (last_ >= 0) {
                const qint64 late = now - last_ - 10;
                maxLateMs_ = std::max(maxLateMs_, late);
                if (late > 50) ++lateOver50_;
            }
            last_ = now;
            ++ticks_;
            maxBuffer_ = std::max(maxBuffer_, st.pendingInput());
            if (each_) each_();
        });
        clock_.start();
        timer_.start();
    }
    void setEach(std::function<void()> each) { each_ = std::move(each); }
    long ticks() const { return ticks_; }
    long lateOver50() const { return lateOver50_; }
    long long maxLateMs() const { return static_cast<long long>(maxLateMs_); }
    std::size_t maxBuffer() const { return maxBuffer_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 maxLateMs_ = 0;
    long ticks_ = 0, lateOver50_ = 0;
    std::size_t maxBuffer_ = 0;
    std::function<void()> each_;
};

// Paint events of the panels' readouts and dials.
class PaintCounter : public QObject {
  public:
    void watch(CountedStation& st) {
        for (AxisPanel* p : st.window().findChildren<AxisPanel*>()) {
            QList<QWidget*> shown;
            for (DigitalDial* d : p->findChildren<DigitalDial*>()) shown << d;
            for (AnalogueDial* d : p->findChildren<AnalogueDial*>()) shown << d;
            for (QWidget* w : shown) {
                w->installEventFilter(this);
                for (QWidget* c : w->findChildren<QWidget*>()) c->installEventFilter(this);
            }
        }
    }
    long paints() const { return paints_; }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints_;
        return false;
    }

  private:
    long paints_ = 0;
};

// An error prompt that answers Ignore and counts.
class CountingPrompt : public ErrorPrompt {
  public:
    ErrorAnswer ask(const ErrorReport& report) override {
        ++reports_;
        last_ = report.text();
        return ErrorAnswer::Ignore;
    }
    int reports() const { return reports_; }
    // The first line of the last report, and forgets it.
    std::string takeLast() {
        const std::string last = std::exchange(last_, std::string());
        return last.substr(0, last.find('\n'));
    }
    void clear() { reports_ = 0; }

  private:
    int reports_ = 0;
    std::string last_;
};

void wait(double seconds) {
    QTest::qWait(static_cast<int>(seconds * 1000));
}

const QStringList kKeys = {"W", "X", "Y", "Z"};
QStringList fourScales(const QStringList& more) {
    return QStringList{"--scales", "WXYZ", "--format", "W=mm,X=inch,Y=hex,Z=mm"} + more;
}

// How far each dial is from what the last nine readings received give (Y counts reversed),
// in inches; and the worst.
double worstDeviation(CountedStation& st, const QStringList& keys) {
    double worst = 0;
    for (const QString& key : keys) {
        const char k = key.toLatin1()[0];
        const double sign = k == 'Y' ? -1 : 1;
        const AxisPanel* p = st.panel(key);
        const double dial = p ? static_cast<double>(p->dial().value()) : 0.0;
        worst = std::max(worst, std::abs(dial - sign * st.tap().average(k)));
    }
    return worst;
}

// A fresh station on a fresh box, the port chosen.
void startOn(BoxProcess& box, std::unique_ptr<CountedStation>& st, const QStringList& options) {
    box.plug(options);
    Station::clearSettings();
    st = std::make_unique<CountedStation>(box);
    st->start();
    st->choosePort();
}

// ---- Phases ----

bool paceReadouts = false;

void stream(const char* name, const QStringList& rate, double seconds, bool idleOnly = false) {
    if (seconds <= 0) return;
    BoxProcess box;
    std::unique_ptr<CountedStation> station;
    startOn(box, station, fourScales(QStringList{"--motion", "sine"} + rate));
    CountedStation& st = *station;
    if (!st.waitForPanels(kKeys, 10000)) {
        std::printf("%s: panels did not appear\n", name);
        return;
    }
    if (idleOnly) st.window().link().send("S0");
    ReadoutPacer& pacer = st.window().readoutPacer();
    // Without pacing every change is shown at once, as before the pacer: the window's frame
    // is then zero.
    if (!paceReadouts) pacer.setFrameMs(0);
    const long immediate0 = pacer.immediate(), held0 = pacer.held();
    PaintCounter paints;
    paints.watch(st);
    wait(2);  // settle
    Watch watch(st);
    const long rss0 = rssKb();
    const long long readings0 = st.readings(kKeys);
    const long long bytes0 = st.bytes();
    const long paints0 = paints.paints();
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    long rssPeak = rss0;
    watch.setEach([&] {
        if (watch.ticks() % 100 == 0) rssPeak = std::max(rssPeak, rssKb());
    });
    wait(seconds);
    const double cpu = cpuSeconds() - cpu0;
    const double secs = static_cast<double>(wall.elapsed()) / 1000.0;
    const long rss1 = rssKb();
    const double readings = static_cast<double>(st.readings(kKeys) - readings0);
    const double bytes = static_cast<double>(st.bytes() - bytes0);
    const double paintRate = static_cast<double>(paints.paints() - paints0) / secs;
    // The stream stops (poll mode); what is shown must be what the last readings give.
    st.window().link().send("S0");
    wait(0.5);
    const double worst = worstDeviation(st, kKeys);
    const std::size_t bufferAfter = st.pendingInput();
    const QString report = box.unplug();
    (void)QTest::qWaitFor([&] { return !st.window().link().isOpen(); }, 3000);
    std::printf(
        "%s: %.1f s, %.0f readings/s received (%.0f bytes/s), CPU %.2f %% of one core "
        "(%.2f s), readout paints %.0f/s, RSS %ld -> %ld kB (peak %ld), parser buffer max %zu "
        "B (after stop %zu), event loop late max %lld ms (%ld ticks > 50 ms late of %ld), "
        "readouts vs last nine readings after stop: worst %.2g inch, bytes received %lld / sent "
        "%lld\n",
        name, secs, readings / secs, bytes / secs, 100.0 * cpu / secs, cpu, paintRate, rss0, rss1,
        rssPeak, watch.maxBuffer(), bufferAfter, watch.maxLateMs(), watch.lateOver50(),
        watch.ticks(), worst, st.bytes(), sentBytes(report));
    std::printf(
        "  readout pacing: frame %d ms, positions shown at once %ld, held to the frame's "
        "end %ld\n",
        pacer.frameMs(), pacer.immediate() - immediate0, pacer.held() - held0);
    std::fflush(stdout);
}

void hang(double seconds) {
    if (seconds <= 0) return;
    BoxProcess box;
    std::unique_ptr<CountedStation> station;
    startOn(box, station, fourScales({"--motion", "sine", "--rate", "line"}));
    CountedStation& st = *station;
    st.waitForPanels(kKeys, 10000);
    wait(2);
    int hangs = 0, midMessage = 0;
    double worst = 0;
    Watch watch(st);
    QElapsedTimer wall;
    wall.start();
    while (static_cast<double>(wall.elapsed()) < seconds * 1000) {
        box.signal(SIGSTOP);
        wait(0.5);
        ++hangs;
        if (st.pendingInput() != 0) ++midMessage;
        worst = std::max(worst, worstDeviation(st, kKeys));
        box.signal(SIGCONT);
        wait(0.5);
    }
    box.unplug();
    std::printf(
        "hang: %d hangs of 0.5 s at line rate, %d of them mid-message; readouts vs last nine "
        "readings while hung: worst %.2g inch; event loop late max %lld ms; panels %s\n",
        hangs, midMessage, worst, watch.maxLateMs(),
        st.keysOnScreen().join(',').toLatin1().constData());
    std::fflush(stdout);
}

void cycles(int count) {
    if (count <= 0) return;
    BoxProcess box;
    const QStringList still = {"--scales", "XY", "--motion", "still"};
    const std::map<QString, QString> shown = {{"X", "12.70"}, {"Y", "-25.40"}};
    std::unique_ptr<CountedStation> station;
    startOn(box, station, still);
    CountedStation& st = *station;
    st.waitForMm(shown, 10000);
    wait(1);
    const long rss0 = rssKb();
    QElapsedTimer wall;
    wall.start();
    int survived = 0;
    for (int i = 0; i < count; ++i) {
        box.unplug();
        const bool gone = QTest::qWaitFor([&] { return !st.window().link().isOpen(); }, 3000) &&
                          st.waitForPanels({}, 3000);
        if (!box.plug(still)) break;
        st.choosePort();
        const bool back = st.waitForMm(shown, 5000) && st.keysOnScreen() == QStringList({"X", "Y"});
        if (!gone || !back) {
            std::printf("cycles: cycle %d failed (gone %d, back %d)\n", i + 1, gone, back);
            break;
        }
        ++survived;
        if (i == 9) std::printf("cycles: after 10, RSS %ld kB\n", rssKb());
    }
    const long rss1 = rssKb();
    std::printf(
        "cycles: %d of %d unplug/plug-in cycles survived in %.1f s (scales gone, port "
        "chosen again, both readouts exact), panels made %lld, RSS %ld -> %ld kB\n",
        survived, count, static_cast<double>(wall.elapsed()) / 1000.0,
        static_cast<long long>(st.window().findChildren<AxisPanel*>().size()), rss0, rss1);
    std::fflush(stdout);
}

void noise(double seconds) {
    if (seconds <= 0) return;
    BoxProcess box;
    std::unique_ptr<CountedStation> station;
    startOn(box, station,
            {"--scales", "WXYZ", "--format", "W=mm,X=inch,Y=hex,Z=mm", "--motion", "still",
             "--noise", "0.5", "--seed", "11"});
    CountedStation& st = *station;
    // Still scales at 12.7, 25.4, 38.1 and 50.8 mm (Y counted reversed).
    const std::map<QString, QString> truth = {
        {"W", "12.70"}, {"X", "25.40"}, {"Y", "-38.10"}, {"Z", "50.80"}};
    if (!st.waitForMm(truth, 10000)) std::printf("noise: readouts did not settle\n");
    Watch watch(st);
    long wrong = 0, missing = 0, samples = 0;
    watch.setEach([&] {
        ++samples;
        for (const auto& [key, text] : truth) {
            const QString shown = st.mm(key);
            if (shown.isEmpty())
                ++missing;
            else if (shown != text)
                ++wrong;
        }
    });
    const long rss0 = rssKb();
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    long rssMid = 0;
    while (static_cast<double>(wall.elapsed()) < seconds * 1000) {
        wait(1);
        if (!rssMid && static_cast<double>(wall.elapsed()) > seconds * 500) rssMid = rssKb();
    }
    const double secs = static_cast<double>(wall.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpu0;
    const long rss1 = rssKb();
    const QString report = box.unplug();
    const long long wellFormed = st.readings(kKeys);
    std::printf(
        "noise: %.0f s; box report: %s; received %lld bytes, %lld well-formed readings, %lld "
        "other messages; readouts sampled %ld times x 4: %ld showed a value no reading gave, "
        "%ld missing; parser buffer max %zu B; event loop late max %lld ms (%ld ticks > 50 ms "
        "late of %ld); CPU %.2f %%; RSS %ld -> %ld -> %ld kB\n",
        secs, report.toLatin1().constData(), st.bytes(), wellFormed, st.messages() - wellFormed,
        samples, wrong, missing, watch.maxBuffer(), watch.maxLateMs(), watch.lateOver50(),
        watch.ticks(), 100.0 * cpu / secs, rss0, rssMid, rss1);
    std::fflush(stdout);
}

void settings(CountingPrompt& prompt, const QString& settingsHome) {
    const QString app = Settings::executableName();
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
        prompt.clear();
        BoxProcess box;
        box.plug({"--scales", "XY", "--motion", "still"});
        Station::clearSettings();
        CountedStation st(box);
        st.start();
        st.choosePort();
        const bool shown = st.waitForMm({{"X", "12.70"}, {"Y", "-25.40"}}, 5000);
        std::printf("settings: %s: port open %d, readouts right %d, error reports %d (%s)\n", name,
                    st.window().link().isOpen(), shown, prompt.reports(),
                    prompt.takeLast().c_str());
    }
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    std::fflush(stdout);
}

// A zero point saved on its own, `count` times with a new origin each time (as the steps of an
// Adj drag give); then a real drag on X's Adj button, one pixel a move, each move processed as
// the event loop would, and what the settings hold once the window has closed.
void drag(int count) {
    if (count <= 0) return;
    Station::clearSettings();
    {
        ZeroPointStore store;
        Scale scale("Q");
        Scale::Origins origins{};
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = cpuSeconds();
        for (int i = 0; i < count; ++i) {
            origins[0] = static_cast<float>(i) * 1e-5f;
            scale.setOrigins(origins);
            store.save(scale);
        }
        const double cpu = cpuSeconds() - cpu0;
        std::printf("drag: %d zero point saves: %.3f ms each (CPU %.3f ms)\n", count,
                    static_cast<double>(wall.nsecsElapsed()) / 1e6 / count, cpu * 1e3 / count);
    }
    BoxProcess box;
    std::unique_ptr<CountedStation> station;
    startOn(box, station, {"--scales", "XY", "--motion", "still"});
    CountedStation& st = *station;
    st.waitForMm({{"X", "12.70"}}, 10000);
    QPushButton* adj = nullptr;
    for (QPushButton* b : st.window().panels().panel("X")->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Adj")) adj = b;
    if (!adj) return void(std::printf("drag: no Adj button\n"));
    QTest::mousePress(adj, Qt::LeftButton);
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    for (int i = 1; i <= count; ++i) {
        QTest::mouseMove(adj, adj->rect().center() + QPoint(0, 1 + i % 97));
        QCoreApplication::processEvents();
    }
    const double cpu = cpuSeconds() - cpu0;
    const double ms = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    QTest::mouseRelease(adj, Qt::LeftButton);
    const Scale::Origins shown = st.window().controller().scales().find("X")->origins();
    st.window().close();
    const QString app = Settings::executableName();
    const QString saved = QSettings(QSettings::NativeFormat, QSettings::UserScope, app, app)
                              .value(QStringLiteral("ZeroPoints/X"))
                              .toString();
    std::printf(
        "drag: %d Adj moves in %.0f ms: %.3f ms each (CPU %.3f ms); X's point 0 in the window "
        "%.9g, in the settings after closing %s\n",
        count, ms, ms / count, cpu * 1e3 / count, static_cast<double>(shown[0]),
        qPrintable(saved.section(u',', 0, 0)));
    box.unplug();
    std::fflush(stdout);
}

int run(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) return 2;
    // A settings store of its own, never the user's.
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsHome.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    CountingPrompt prompt;
    setDefaultErrorPrompt(&prompt);

    std::printf("machine: %s, %ld cores, platform %s, load average %s\n", cpuModel().c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN), qPrintable(QApplication::platformName()),
                loadAverage().c_str());
    std::fflush(stdout);
    paceReadouts = o.pace;
    stream("idle (poll mode)", {"--rate", "50"}, o.idle, true);
    stream("line rate", {"--rate", "line"}, o.line);
    stream("fast mode 50/s per scale", {"--rate", "50"}, o.fast);
    hang(o.hang);
    cycles(o.cycles);
    noise(o.noise);
    if (o.settings) settings(prompt, settingsHome.path());
    drag(o.drag);
    std::printf(
        "load average at the end %s; error reports outside the settings phase: see "
        "above\n",
        loadAverage().c_str());
    setDefaultErrorPrompt(nullptr);
    return 0;
}

}  // namespace
}  // namespace gradel

int main(int argc, char** argv) {
    return gradel::run(argc, argv);
}
