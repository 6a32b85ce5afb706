// From a click on Calculate to the result painted, on the real window drawn
// offscreen. A frame at 60 Hz is 16.7 ms; the click must cost a small part of it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/application.h"
#include "ui/crcl_window.h"
#include "ui/program.h"

namespace {

QWidget* g_window = nullptr;

class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

template <typename Widget>
Widget* control(const char* name) {
    return g_window->findChild<Widget*>(QLatin1String(name));
}

void BM_CalculateToPaint(benchmark::State& state) {
    auto* calculate = control<QPushButton>("CmdCalc");
    auto* serum = control<QLineEdit>("TxtSCr");
    auto* result = control<QLabel>("LblCrCl");
    if (calculate == nullptr || serum == nullptr || result == nullptr) {
        state.SkipWithError("the window lacks CmdCalc, TxtSCr or LblCrCl");
        return;
    }
    PaintWatch watch;
    result->installEventFilter(&watch);
    std::vector<double> samples;
    for (auto _ : state) {
        // Another serum value each time, so every click has a new result to paint.
        const bool fifty = result->text() == QLatin1String("50.0");
        serum->setText(fifty ? QStringLiteral("2.0") : QStringLiteral("1.0"));
        QCoreApplication::processEvents();
        watch.painted = false;

        const auto start = std::chrono::steady_clock::now();
        QTest::mouseClick(calculate, Qt::LeftButton);
        QElapsedTimer bound;
        bound.start();
        while (!watch.painted && bound.elapsed() < 1000) {
            QCoreApplication::processEvents();
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!watch.painted) {
            state.SkipWithError("the result was not painted within a second");
            break;
        }
        state.SetIterationTime(took.count());
        samples.push_back(took.count());
    }
    result->removeEventFilter(&watch);
    if (!samples.empty()) {
        std::sort(samples.begin(), samples.end());
        state.counters["median_ms"] = samples[samples.size() / 2] * 1e3;
        state.counters["p99_ms"] = samples[samples.size() * 99 / 100] * 1e3;
    }
}
BENCHMARK(BM_CalculateToPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    velunor::platform::Application app(argc, argv, velunor::ui::programIdentity(VELUNOR_VERSION));
    velunor::ui::CrClWindow window;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("CrCl")) {
            g_window = top;
        }
    }
    if (g_window == nullptr || !QTest::qWaitForWindowExposed(g_window)) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
