// Cost of showing a new position on the display controls, painted offscreen:
//   QT_QPA_PLATFORM=offscreen bench_controls
// Each value step includes the repaint it causes (the pending paint events are processed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <vector>

#include "bench/controls/PanelRig.h"

namespace {

using gradel::PanelRig;

// Counts paint events of the watched widgets, to show what a step repainted.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* dial) {
        dial->installEventFilter(this);
        for (QWidget* w : dial->findChildren<QWidget*>()) w->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        paints_ += event->type() == QEvent::Paint;
        return false;
    }
    int paints() const { return paints_; }

  private:
    int paints_ = 0;
};

// On a shared machine the least of several repetitions is the figure least disturbed by others.
double least(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// A machine moving back and forth over a few inches: every step changes the fraction and
// now and then the whole part.
float nextValue(float v) {
    return v > 4.0f ? -3.0f : v + 0.0137f;
}

void dialSetValue(benchmark::State& state) {
    PanelRig panel(static_cast<int>(state.range(0)));
    PaintCounter counter(panel.dial);
    float v = 0;
    for (auto _ : state) {
        v = nextValue(v);
        panel.dial->setValue(v);
        QCoreApplication::processEvents();
    }
    state.counters["paints/step"] =
        benchmark::Counter(counter.paints(), benchmark::Counter::kAvgIterations);
}
BENCHMARK(dialSetValue)
    ->Name("BM_DialSetValue")
    ->Arg(16)
    ->Arg(64)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ComputeStatistics("least", least);

void dialDrawScale(benchmark::State& state) {
    PanelRig panel(static_cast<int>(state.range(0)));
    panel.dial->setValue(1.3f);
    bool blank = false;
    for (auto _ : state) {
        blank = !blank;
        panel.dial->setUnit(blank ? "" : " ");  // each set draws the whole scale again
        QCoreApplication::processEvents();
    }
}
BENCHMARK(dialDrawScale)
    ->Name("BM_DialDrawScale")
    ->Arg(16)
    ->Arg(64)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("least", least);

void panelSetValue(benchmark::State& state) {
    PanelRig panel(64);
    float v = 0;
    for (auto _ : state) {
        v = nextValue(v);
        panel.show(v);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(panelSetValue)
    ->Name("BM_PanelSetValue")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ComputeStatistics("least", least);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
