// Gradel Display: a digital readout for the scales on a machine tool's axes.
#include <QApplication>
#include <QFont>
#include <cstdio>
#include <cstring>

#include "window/BoxSimulator.h"
#include "window/ErrorMessageBox.h"
#include "window/LatencyLog.h"
#include "window/MainWindow.h"
#include "window/Settings.h"

namespace {

constexpr const char* kHelp =
    "Usage: Gradel [--simulate] [--version] [--help]\n"
    "A digital readout for the scales on a machine tool, read through an interface box on a\n"
    "serial line at 115200 baud.\n"
    "\n"
    "  --simulate  start a simulated interface box (gradel-boxsim) and open it\n"
    "  --version   print the version and stop\n"
    "  --help      print this text and stop\n"
    "\n"
    "GRADEL_PORTS=DEV:DEV:...  pins the Comport menu's numbers to these devices.\n"
    "GRADEL_LATENCY_LOG=FILE   measures port-to-screen latency, written to FILE at exit.\n"
    "The chosen port is kept in ~/.config/Gradel/Gradel.conf. See Gradel(1).\n";

// Answered before any window system is needed, so that they work on a console and in scripts.
bool answeredAtOnce(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Gradel Display %s\n", GRADEL_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answeredAtOnce(argc, argv)) return 0;
    QApplication app(argc, argv);
    // Off unless GRADEL_LATENCY_LOG is set: the figures of a measuring run.
    const std::unique_ptr<gradel::LatencyLog> latencyLog = gradel::LatencyLog::fromEnvironment();
    const QString name = gradel::Settings::executableName();
    QApplication::setOrganizationName(name);
    QApplication::setApplicationName(name);
    // The window's font is not on free systems; its stand-in has the same metrics as Arial.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    // --simulate: a simulated interface box on a pseudo-terminal becomes the port after the
    // real ones and is opened at start-up; the remembered port is left as it is, and choosing
    // the simulator is never remembered. It stops after the window has gone.
    gradel::BoxSimulator simulator;
    const bool simulate = QApplication::arguments().contains(QStringLiteral("--simulate"));
    QString simulatorError;
    const bool simulating =
        simulate &&
        simulator.start(
            {QStringLiteral("--scales"), QStringLiteral("XYZ"), QStringLiteral("--format"),
             QStringLiteral("X=mm,Y=inch,Z=hex"), QStringLiteral("--motion"),
             QStringLiteral("sine"), QStringLiteral("--start-mode"), QStringLiteral("2")},
            &simulatorError);
    if (simulate && !simulating)
        qWarning("Gradel: no simulated box: %s", qPrintable(simulatorError));

    gradel::MainWindow window;
    if (simulating) window.useSimulatedBox(simulator.path());
    gradel::ErrorMessageBox errorBox(&window);
    gradel::setDefaultErrorPrompt(&errorBox);
    window.load();
    window.show();
    const int result = QApplication::exec();
    gradel::setDefaultErrorPrompt(nullptr);
    return result;
}
