// Cost of showing a new position on the display controls, painted offscreen:
//   QT_QPA_PLATFORM=offscreen bench_controls
// Each value step includes the repaint it causes (the pending paint events are processed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

namespace {

// Counts paint events of the watched widgets, to show what a step repainted.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

struct Panel {
    QWidget window;
    DigitalDial* mm;
    DigitalDial* inch;
    AnalogueDial* dial;
    PaintCounter counter;

    explicit Panel(int32_t divisions) {
        Twips::Place(&window, 0, 0, 6375, 1455);
        mm = new DigitalDial(&window);
        inch = new DigitalDial(&window);
        dial = new AnalogueDial(&window);
        Twips::Place(mm, 960, 240, 1695, 615);
        Twips::Place(inch, 2760, 240, 1695, 615);
        Twips::Place(dial, 4560, 240, 1695, 1095);
        dial->SetDivisions(divisions);
        dial->SetArrowFillStyle(7);
        dial->SetArrowColour(0xC0C0FF);
        dial->SetArrowEnable(true);
        inch->SetUnit("\"");
        inch->SetFormatString("0.0005");
        mm->SetUnit("mm");
        mm->SetFormatString("0.00");
        mm->SetEnabled(true);
        inch->SetEnabled(true);
        window.show();
        QCoreApplication::processEvents();
        for (QWidget* w : dial->findChildren<QWidget*>()) w->installEventFilter(&counter);
        dial->installEventFilter(&counter);
    }
};

// On a shared machine the least of several repetitions is the figure least disturbed by others.
double Least(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// A machine moving back and forth over a few inches: every step changes the fraction and
// now and then the whole part.
float NextValue(float v) {
    return v > 4.0f ? -3.0f : v + 0.0137f;
}

void BM_DialSetValue(benchmark::State& state) {
    Panel panel(static_cast<int32_t>(state.range(0)));
    float v = 0;
    panel.counter.paints = 0;
    for (auto _ : state) {
        v = NextValue(v);
        panel.dial->SetValue(v);
        QCoreApplication::processEvents();
    }
    state.counters["paints/step"] =
        benchmark::Counter(panel.counter.paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DialSetValue)
    ->Arg(16)
    ->Arg(64)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ComputeStatistics("least", Least);

void BM_DialDrawScale(benchmark::State& state) {
    Panel panel(static_cast<int32_t>(state.range(0)));
    panel.dial->SetValue(1.3f);
    bool blank = false;
    for (auto _ : state) {
        blank = !blank;
        panel.dial->SetUnit(blank ? "" : " ");  // each set draws the whole scale again
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_DialDrawScale)
    ->Arg(16)
    ->Arg(64)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("least", Least);

void BM_PanelSetValue(benchmark::State& state) {
    Panel panel(64);
    float v = 0;
    for (auto _ : state) {
        v = NextValue(v);
        panel.mm->SetValue(v * 25.4f);
        panel.inch->SetValue(v);
        panel.dial->SetValue(v);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PanelSetValue)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ComputeStatistics("least", Least);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
