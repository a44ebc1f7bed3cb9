#pragma once
// Shows the scales' positions no more often than the screen can show them.
//
// At the box's full line rate a scale's position changes a thousand times a second, and every
// change would lay out and repaint its readouts. A change that comes with the box's stream is
// held until the text that brought it has been read (so everything one arrival changes is shown
// together) and until one frame of the screen has passed since the last showing, but never so
// long that it would reach the screen later than a frame after it came; then one single-shot
// timer takes in whatever text has come meanwhile and shows every held scale as it is then.
// Nothing is lost: the record always holds the newest reading, and the last change reaches the
// screen within one frame, so a display whose stream has stopped never shows a stale value.
// Changes from anywhere else (keys, buttons, the demo) are shown at once.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace gradel {

class ReadoutPacer : public QObject {
    Q_OBJECT

  public:
    // `show` shows a held scale by its key (the scale may have gone meanwhile).
    explicit ReadoutPacer(std::function<void(const std::string& key)> show,
                          QObject* parent = nullptr);

    // While a stream scope is open, changes come from the box's stream. Scopes may nest.
    class StreamScope {
      public:
        explicit StreamScope(ReadoutPacer& p) : p_(p) { ++p_.streamDepth_; }
        ~StreamScope() { --p_.streamDepth_; }
        StreamScope(const StreamScope&) = delete;
        StreamScope& operator=(const StreamScope&) = delete;

      private:
        ReadoutPacer& p_;
    };

    // A scale's position changed. True: show it now. False: it is held (see above).
    bool changed(const std::string& key);

    // Called as a frame begins, to take in text that has arrived meanwhile but was left unread:
    // the changes it brings are shown with the frame.
    void setCollect(std::function<void()> collect) { collect_ = std::move(collect); }
    // A frame is due: changes are being held for it.
    bool isHolding() const { return timer_.isActive(); }

    // 0: no pacing, every change is shown at once.
    int frameMs() const { return frameMs_; }
    void setFrameMs(int ms) { frameMs_ = ms; }
    // Length of one frame of a screen with this refresh rate (Hz), within 8 ms and 40 ms.
    static int frameMsFor(double refreshRate);

    // Showings at once and at a frame's end (for measurements).
    long immediate() const { return immediate_; }
    long held() const { return held_; }

  private:
    void flush();

    std::function<void(const std::string&)> show_;
    std::function<void()> collect_;
    bool collecting_ = false;
    std::vector<std::string> pending_;
    QTimer timer_;
    QElapsedTimer sinceShown_;
    int frameMs_ = 17;
    int streamDepth_ = 0;
    long immediate_ = 0;
    long held_ = 0;
};

}  // namespace gradel
