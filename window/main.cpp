// Gradel Display: a digital readout for the scales on a machine tool's axes.
#include <QApplication>
#include <QFont>

#include "window/QtErrorDialog.h"
#include "window/clsIniFile.h"
#include "window/frmGradel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString name = gradel::clsIniFile::ExecutableName();
    QApplication::setOrganizationName(name);
    QApplication::setApplicationName(name);
    // The design's font is not on free systems; its stand-in has the same metrics as Arial.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    frmGradel window;
    gradel::QtErrorDialog dialog(&window);
    gradel::SetCurrentErrorDialog(&dialog);
    window.Load();
    window.show();
    const int result = QApplication::exec();
    gradel::SetCurrentErrorDialog(nullptr);
    return result;
}
