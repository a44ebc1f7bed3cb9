#include "window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <algorithm>

#include "base/ErrorTrap.h"
#include "window/Settings.h"

namespace gradel {

namespace {

const QString kSection = QStringLiteral("Window");
const QString kGeometry = QStringLiteral("geometry");  // "left,top,width,height" in pixels
const QString kState = QStringLiteral("state");        // normal, maximised or full screen

}  // namespace

WindowPlacement::WindowPlacement(QWidget& window) : window_(window) {}

QRect WindowPlacement::keptOn(QRect frame, const QRect& area) {
    frame.setWidth(std::min(frame.width(), area.width()));
    frame.setHeight(std::min(frame.height(), area.height()));
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    return frame;
}

// The screen that shows most of `near` (the primary one when none does): all of it, or the
// part that panels and task bars leave.
QRect WindowPlacement::screenArea(const QRect& near, bool whole) const {
    const QScreen* best = QGuiApplication::primaryScreen();
    int most = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(near);
        if (common.width() * common.height() > most) {
            most = common.width() * common.height();
            best = screen;
        }
    }
    if (!best) return near;
    return whole ? best->geometry() : best->availableGeometry();
}

QRect WindowPlacement::normalGeometry() const {
    const bool stretched = window_.isFullScreen() || window_.isMaximized();
    return stretched && normal_.isValid() ? normal_ : window_.geometry();
}

bool WindowPlacement::restore() {
    const Settings settings;
    const QStringList numbers = settings.value(kSection, kGeometry).split(u',');
    if (numbers.size() != 4) return false;
    int n[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        n[i] = numbers[i].trimmed().toInt(&ok);
        if (!ok) return false;
    }
    const QRect remembered(n[0], n[1], n[2], n[3]);
    if (remembered.width() <= 0 || remembered.height() <= 0) return false;
    normal_ =
        keptOn(QRect(remembered.topLeft(), remembered.size().expandedTo(window_.minimumSize())),
               screenArea(remembered, false));
    window_.setGeometry(normal_);
    const QString state = settings.value(kSection, kState);
    // Geometry first: setting it would take a window out of the state.
    if (state == QStringLiteral("full screen")) {
        window_.setGeometry(screenArea(normal_, true));
        window_.setWindowState(Qt::WindowFullScreen);
    } else if (state == QStringLiteral("maximised")) {
        window_.setGeometry(screenArea(normal_, false));
        window_.setWindowState(Qt::WindowMaximized);
    }
    return true;
}

// A store that cannot be written is reported; the window closes all the same.
void WindowPlacement::save() const {
    const QRect g = normalGeometry();
    const QString state = window_.isFullScreen()  ? QStringLiteral("full screen")
                          : window_.isMaximized() ? QStringLiteral("maximised")
                                                  : QStringLiteral("normal");
    ErrorTrap trap(defaultErrorPrompt(), "frmGradel", "Form_Unload");
    trap.run([&] {
        Settings settings;
        settings.setValue(
            kSection, kGeometry,
            QStringLiteral("%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
        settings.setValue(kSection, kState, state);
    });
}

bool WindowPlacement::isFullScreen() const {
    return window_.isFullScreen();
}

void WindowPlacement::toggleFullScreen() {
    if (window_.isFullScreen()) {
        window_.setWindowState(window_.windowState() & ~Qt::WindowFullScreen);
        if (!window_.isMaximized() && normal_.isValid()) window_.setGeometry(normal_);
        window_.show();
        return;
    }
    if (!window_.isMaximized()) normal_ = window_.geometry();
    window_.setGeometry(screenArea(window_.frameGeometry(), true));
    window_.setWindowState(window_.windowState() | Qt::WindowFullScreen);
    window_.show();
}

}  // namespace gradel
