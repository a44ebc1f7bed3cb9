// Gradel Display: a digital readout for the scales on a machine tool's axes.
#include <QApplication>
#include <QFont>

#include "window/BoxSimulator.h"
#include "window/ErrorMessageBox.h"
#include "window/MainWindow.h"
#include "window/Settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
