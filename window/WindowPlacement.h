#pragma once
// Where the main window stands and how: its size and place, maximised or full screen. They are
// remembered in the settings' [Window] section when the window closes and restored at the next
// start, moved back onto the screen if the screen has become smaller since.
//
// Full screen fills the screen and toggles back to the size and place the window had. The
// window is also given the screen's geometry itself, so that full screen fills the screen even
// where no window manager acts on the request.
#include <QRect>
#include <QString>

class QWidget;

namespace gradel {

class WindowPlacement {
  public:
    explicit WindowPlacement(QWidget& window);

    // Before the window is first shown. False when nothing was remembered: the window keeps
    // its size and is to be centred.
    bool restore();
    void save() const;

    bool isFullScreen() const;
    void toggleFullScreen();

    // `frame` shrunk to fit `area` if it is larger, then moved into it.
    static QRect keptOn(QRect frame, const QRect& area);

  private:
    QRect screenArea(const QRect& near, bool whole) const;
    QRect normalGeometry() const;

    QWidget& window_;
    QRect normal_;  // the geometry to come back to from full screen or maximised
};

}  // namespace gradel
