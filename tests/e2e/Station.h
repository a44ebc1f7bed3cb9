#pragma once
// The real main window, shown (offscreen in tests), on a real serial port whose only device is
// the simulated box's symlink, with a tap on the text the port delivers. What the checks read
// is what the user sees: the panels' order on the screen and their readouts' texts.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "tests/e2e/BoxProcess.h"
#include "tests/e2e/ReadingTap.h"
#include "window/QtSerialPort.h"
#include "window/SerialLink.h"
#include "window/clsIniFile.h"
#include "window/frmGradel.h"
#include "window/winsys/Tag.h"

namespace e2e {

class Station {
  public:
    // A window whose port 1 is the box's link. `identifyPause` shortens the one-second wait
    // between the two identify commands (every connect costs one).
    explicit Station(BoxProcess& box,
                     std::chrono::milliseconds identifyPause = std::chrono::milliseconds(50))
        : box_(box) {
        w.SetSerialPort(std::make_unique<QtSerialPort>(), PortTable({box.Link()}));
        w.Link().SetIdentifyPause(identifyPause);
        QObject::connect(&w.Link(), &SerialLink::TextReceived, &w,
                         [this](const std::string& text) { tap.Feed(text); });
    }

    // Forgets the remembered port, so that start-up opens nothing.
    static void ForgetPort() {
        const QString app = gradel::clsIniFile::ExecutableName();
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, app, app);
        settings.clear();
        settings.sync();
    }

    // Start-up as main does it, then the window on the screen.
    void Start() {
        w.Load();
        w.show();
        QApplication::setActiveWindow(&w);
    }

    // Chooses "Comm 1" in the Comport menu, as the user does.
    void ChoosePort() { w.mnuComPort.at(0)->trigger(); }

    // The shown panel of a scale key, or nullptr.
    const AxisPanel* Panel(const QString& key) const {
        for (const AxisPanel& p : const_cast<frmGradel&>(w).Panels())
            if (gradel::Tag(p.fraAxis) == key && p.fraAxis->isVisible()) return &p;
        return nullptr;
    }
    // Keys of the shown panels from the top of the window down.
    QStringList KeysOnScreen() const {
        std::vector<const AxisPanel*> shown;
        for (const AxisPanel& p : const_cast<frmGradel&>(w).Panels())
            if (p.fraAxis->isVisible()) shown.push_back(&p);
        std::sort(shown.begin(), shown.end(), [](const AxisPanel* a, const AxisPanel* b) {
            return a->fraAxis->y() < b->fraAxis->y();
        });
        QStringList keys;
        for (const AxisPanel* p : shown) keys << gradel::Tag(p->fraAxis);
        return keys;
    }
    // The millimetre and inch readouts' texts, "" without a panel.
    QString Mm(const QString& key) const {
        const AxisPanel* p = Panel(key);
        return p ? p->ddMM->labValue()->text() : QString();
    }
    QString Inch(const QString& key) const {
        const AxisPanel* p = Panel(key);
        return p ? p->ddInch->labValue()->text() : QString();
    }
    float Dial(const QString& key) const {
        const AxisPanel* p = Panel(key);
        return p ? p->AnalogueDial_->Value() : 0.0f;
    }
    QStringList Captions() {
        QStringList out;
        for (int i = 0; i < w.labFuncCount(); ++i) out << w.labFunc(i)->text();
        return out;
    }

    // Waits until every key has a panel whose millimetre readout shows the text given.
    bool WaitForMm(const std::map<QString, QString>& shown, int ms = 5000) {
        return QTest::qWaitFor(
            [&] {
                for (const auto& [key, text] : shown)
                    if (Mm(key) != text) return false;
                return true;
            },
            ms);
    }
    bool WaitForPanels(const QStringList& keys, int ms = 5000) {
        return QTest::qWaitFor([&] { return KeysOnScreen() == keys; }, ms);
    }

    void Key(int f) { QTest::keyClick(&w, static_cast<Qt::Key>(Qt::Key_F1 + f - 1)); }
    void Click(int label) { QTest::mouseClick(w.labFunc(label), Qt::LeftButton); }

    frmGradel w;
    ReadingTap tap;

  private:
    BoxProcess& box_;
};

}  // namespace e2e
