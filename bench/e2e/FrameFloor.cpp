// The least a Qt window costs that repaints at the pace the readouts keep while the box
// streams: a timer at that rate and, at each tick, a few small widgets repainted, nothing else.
// scripts/perf runs it under the same X server as the program, so that the program's share of
// a core can be read against what any such window takes on the same machine.
//   bench_frame_floor [--widgets N] [--interval MS]
#include <QApplication>
#include <QCommandLineParser>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace {

// A patch that changes colour at every tick, as a readout's digits change at every frame.
class Patch : public QWidget {
  public:
    explicit Patch(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    void step() {
        ++ticks_;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), ticks_ % 2 ? Qt::white : Qt::yellow);
    }

  private:
    int ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({"widgets", "Patches repainted at each tick (0: the timer alone).", "n", "12"});
    options.addOption({"interval", "Milliseconds between ticks.", "ms", "16"});
    options.process(app);
    QWidget window;
    window.resize(600, 400);
    std::vector<Patch*> patches;
    for (int i = 0; i < options.value("widgets").toInt(); ++i) {
        patches.push_back(new Patch(&window));
        patches.back()->setGeometry(10 + i % 4 * 140, 10 + i / 4 * 60, 120, 40);
    }
    window.show();
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        for (Patch* patch : patches) patch->step();
    });
    tick.start(options.value("interval").toInt());
    return app.exec();
}
