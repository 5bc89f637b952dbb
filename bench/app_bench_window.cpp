// The main window's speed: from construction to the first picture on
// screen, and the answer to a Preview click.  Runs offscreen in an empty
// folder (no settings file) with its own language file.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "BarCodeForm.h"

namespace {

// Answers nothing and shows nothing.
class QuietDesktop : public Desktop {
public:
    void showMessage(const std::string&) override {}
    void showError(const std::string&) override {}
    std::optional<TFont> chooseFont(const TFont&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const SaveFileRequest&) override { return std::nullopt; }
    int execModal(QDialog&) override { return 0; }
    bool copyImageToClipboard(const QImage&) override { return true; }
    void openDocument(const std::string&) override {}
};

// Construction (language file, settings, first preview), then shown and
// painted once.
void BM_StartToFirstPicture(benchmark::State& state) {
    QuietDesktop desktop;
    for (auto _ : state) {
        auto form = std::make_unique<TBarCodeForm>(desktop);
        form->show();
        form->repaint();
        benchmark::DoNotOptimize(form->Picture().constBits());
        state.PauseTiming();
        form.reset();  // writes the language file, as at the end of a run
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstPicture)->Unit(benchmark::kMillisecond);

// A Preview click with the design inputs, the picture repainted.
void BM_PreviewClick(benchmark::State& state) {
    QuietDesktop desktop;
    TBarCodeForm form(desktop);
    form.show();
    if (state.range(0) == 1) {
        form.setLine1Text("Halvex Rarovuv Uvizo");
        form.setLine2Text("Line two");
    }
    for (auto _ : state) {
        form.previewButtonClick();
        form.image->repaint();
        benchmark::DoNotOptimize(form.Picture().constBits());
    }
}
BENCHMARK(BM_PreviewClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    const qint64 applicationMs = clock.elapsed();

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "halvex-bench-window";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    TLForm::setLanguageFilePath(folder / "HalvexBarcode.INI");

    // The very first window of a process, which also loads fonts and styles.
    {
        QuietDesktop desktop;
        clock.restart();
        TBarCodeForm form(desktop);
        form.show();
        form.repaint();
        std::printf("application object: %lld ms; first window of the process to its picture on screen: %lld ms\n",
                    static_cast<long long>(applicationMs), static_cast<long long>(clock.elapsed()));
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return 0;
}
