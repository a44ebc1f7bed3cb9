#pragma once
// The panel of one scale: its key in large letters, a millimetre readout, an inch readout, the
// analogue inch dial and the buttons Reset Rel, Adj, ABS, X2 and Rev.
//
// The panel owns the state its buttons show (absolute or relative, times two, reversed) and the
// last position it was given, so a change of ABS or X2, by mouse or by key, redraws the panel
// at once: a box in poll mode (or a demo scale) may never send another reading. What the
// operator asks of the scale itself leaves through signals; the panel never touches a scale.
#include <QGroupBox>
#include <QString>
#include <optional>

class QLabel;
class QMenu;
class QPushButton;

namespace gradel {

class AnalogueDial;
class DigitalDial;
class NoDataMark;

class AxisPanel : public QGroupBox {
    Q_OBJECT
  public:
    // Adj moves the relative reading by this much per twip of mouse travel: slowly with the
    // left button, ten times faster with the right one.
    static constexpr double kSlowInchPerTwip = 0.00001;
    static constexpr double kFastInchPerTwip = 0.0001;
    // The panel's size in twips.
    static constexpr int kWidth = 6375;
    static constexpr int kHeight = 1455;

    // A panel for `key`: relative, not doubled, and reversed only for a "Y" axis.
    explicit AxisPanel(const QString& key, QWidget* parent = nullptr);

    const QString& key() const { return key_; }
    bool isAbsolute() const { return absolute_; }
    void setAbsolute(bool absolute);
    bool isTimesTwo() const { return timesTwo_; }
    void setTimesTwo(bool timesTwo);
    bool isReversed() const { return reversed_; }
    void setReversed(bool reversed);  // emits reverseChanged when it changes

    // A length in inches as this panel shows it: doubled in times-two (diameter) mode.
    float shown(float inch) const { return timesTwo_ ? 2 * inch : inch; }
    // And back: what a length shown here is on the scale.
    float fromShown(float inch) const { return timesTwo_ ? inch / 2 : inch; }

    // The scale's position: shown in both readouts and the dial, absolute or relative as ABS
    // says, doubled in X2 mode.
    void showPosition(float absoluteInch, float relativeInch);
    // A position to reach, in inches of the relative reading: while one is set, every readout
    // shows the distance to go (relative reading - target, doubled in X2 mode), whatever ABS
    // says, and the panel carries a "to go" mark. Without one the panel shows as before.
    void setTarget(std::optional<float> inch);
    // Which readouts the panel shows (the View menu's choice); the ones shown take the room
    // of the others.
    void setReadoutsShown(bool mm, bool inch, bool dial);
    // A stale scale has stopped sending: its readouts keep the last position, greyed under a
    // "NO DATA" mark, until it is live again.
    bool isStale() const;
    void setStale(bool stale);
    // The active zero point, named in the frame's caption unless it is point 0.
    void setZeroPoint(int point);
    // Draws the panel `zoom` times its design size: itself, its parts and their fonts.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }

    const DigitalDial& mmReadout() const { return *mm_; }
    const DigitalDial& inchReadout() const { return *inch_; }
    const AnalogueDial& dial() const { return *dial_; }

  signals:
    void zeroRelativeClicked();
    // Adj pressed, then dragged: the relative reading should move by `inch` from where it was
    // at the press.
    void adjustPressed();
    void adjustDragged(double inch);
    void reverseChanged(bool reversed);
    // One of the readouts' "Copy" entries: the text for the clipboard.
    void copyRequested(const QString& text);
    // A double click on the panel's own surface: hide it.
    void hideRequested();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildReadouts();
    void buildButtons();
    void buildMenus();
    void layOut();
    void refresh();
    void dragAdjust(Qt::MouseButtons buttons, float yTwips);
    void popUp(QMenu* menu);

    QString key_;
    bool absolute_ = false;
    bool timesTwo_ = false;
    bool reversed_ = false;
    float absoluteInch_ = 0;
    float relativeInch_ = 0;
    float dragStartY_ = 0;  // twips, where Adj was pressed
    std::optional<float> target_;
    double zoom_ = 1;
    bool mmShown_ = true;
    bool inchShown_ = true;
    bool dialShown_ = true;

    QLabel* letter_ = nullptr;
    QLabel* toGo_ = nullptr;
    DigitalDial* mm_ = nullptr;
    DigitalDial* inch_ = nullptr;
    AnalogueDial* dial_ = nullptr;
    QPushButton* zero_ = nullptr;
    QPushButton* adjust_ = nullptr;
    QPushButton* absoluteButton_ = nullptr;
    QPushButton* timesTwoButton_ = nullptr;
    QPushButton* reverseButton_ = nullptr;
    QMenu* dialMenu_ = nullptr;
    QMenu* inchMenu_ = nullptr;
    QMenu* mmMenu_ = nullptr;
    NoDataMark* staleMark_ = nullptr;
};

}  // namespace gradel
