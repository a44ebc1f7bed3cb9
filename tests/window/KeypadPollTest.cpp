// The keypad poll: its edge rule over scripted codes, and the key events it posts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>
#include <deque>
#include <vector>

#include <unistd.h>

#include "window/IKeypadSource.h"
#include "window/KeypadPoll.h"
#include "window/PortKeypadSource.h"

namespace {

class ScriptedKeypad : public IKeypadSource {
  public:
    explicit ScriptedKeypad(std::vector<uint8_t> codes) : codes_(codes.begin(), codes.end()) {}
    uint8_t Read() override {
        if (codes_.empty()) return last_;
        last_ = codes_.front();
        codes_.pop_front();
        return last_;
    }

  private:
    std::deque<uint8_t> codes_;
    uint8_t last_ = 0;  // the last code keeps reading, like a held key
};

std::vector<int> Presses(const std::vector<uint8_t>& codes, int ticks) {
    ScriptedKeypad keypad(codes);
    std::vector<int> presses;
    KeypadPoll poll(&keypad, [&](int f) { presses.push_back(f); });
    for (int t = 0; t < ticks; ++t) poll.Tick();
    return presses;
}

// Counts the key events a widget receives.
class KeyCounter : public QWidget {
  public:
    std::vector<std::pair<QEvent::Type, int>> keys;

  protected:
    void keyPressEvent(QKeyEvent* e) override { keys.emplace_back(e->type(), e->key()); }
    void keyReleaseEvent(QKeyEvent* e) override { keys.emplace_back(e->type(), e->key()); }
};

}  // namespace

TEST(KeypadPoll, OnePressPerChangeNoneWhileHeld) {
    struct Case {
        std::vector<uint8_t> codes;
        int ticks;
        std::vector<int> presses;
    };
    const Case cases[] = {
        {{0, 7, 7, 7, 0, 7}, 6, {7, 7}},
        {{7, 8}, 2, {7, 8}},
        {{0xFF}, 20, {15}},               // a port reading all ones: one F15, then nothing
        {{0x17, 0x27, 0x07}, 3, {7}},     // only the low four bits count
        {{0x10, 3, 0xF0, 3}, 4, {3, 3}},  // high bits alone read as no key
        {{0}, 10, {}},
        {{1, 2, 1, 0, 0, 1}, 6, {1, 2, 1, 1}},
    };
    for (const Case& c : cases) EXPECT_EQ(Presses(c.codes, c.ticks), c.presses);
}

TEST(KeypadPoll, PostsPressAndReleaseToTheFocusedWidgetWithoutWaiting) {
    KeyCounter w;
    w.setFocusPolicy(Qt::StrongFocus);
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    w.setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), &w);

    ScriptedKeypad keypad({7, 7, 0, 15, 1});
    KeypadPoll poll(&keypad);
    for (int t = 0; t < 5; ++t) poll.Tick();
    EXPECT_TRUE(w.keys.empty());  // queued, not delivered inside the tick
    QApplication::processEvents();
    using K = std::pair<QEvent::Type, int>;
    const std::vector<K> want = {{QEvent::KeyPress, Qt::Key_F7},  {QEvent::KeyRelease, Qt::Key_F7},
                                 {QEvent::KeyPress, Qt::Key_F15}, {QEvent::KeyRelease, Qt::Key_F15},
                                 {QEvent::KeyPress, Qt::Key_F1},  {QEvent::KeyRelease, Qt::Key_F1}};
    EXPECT_EQ(w.keys, want);
}

TEST(PortKeypadSource, ADeviceThatCannotBeOpenedReadsNoKey) {
    PortKeypadSource source("/nonexistent/port-device");
    EXPECT_FALSE(source.IsOpen());
    for (int t = 0; t < 3; ++t) EXPECT_EQ(source.Read(), 0);
}

TEST(PortKeypadSource, ReadsTheByteAtThePortOffset) {
    // A file standing in for the port device: byte 544 holds the keypad.
    const QByteArray path = QByteArray("/tmp/gradel-keypad-") + QByteArray::number(getpid());
    {
        FILE* f = std::fopen(path.constData(), "wb");
        ASSERT_NE(f, nullptr);
        std::vector<unsigned char> bytes(600, 0xAA);
        bytes[544] = 0x37;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    PortKeypadSource source(path.constData());
#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
    EXPECT_TRUE(source.IsOpen());
    EXPECT_EQ(source.Read(), 0x37);
#else
    EXPECT_EQ(source.Read(), 0);
#endif
    std::remove(path.constData());
}
