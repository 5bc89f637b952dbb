// The preview redraws on every click and batch printing composes thousands
// of pictures: composing the default picture should take well under 1 ms.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include "Composition.h"

namespace {

void BM_ComposeDefaultPicture(benchmark::State& state) {
    const PictureInputs inputs;  // Code 128B "12345678", 20 mm, value shown
    for (auto _ : state) {
        QImage picture = composePicture(inputs);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ComposeDefaultPicture);

void BM_ComposeWithTwoLines(benchmark::State& state) {
    PictureInputs inputs;
    inputs.line1 = "Halvex Barcode";
    inputs.line2 = "Second line";
    for (auto _ : state) {
        QImage picture = composePicture(inputs);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ComposeWithTwoLines);

void BM_ComposeRotated33(benchmark::State& state) {
    PictureInputs inputs;
    inputs.angle = 33;
    for (auto _ : state) {
        QImage picture = composePicture(inputs);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ComposeRotated33);

void BM_ComposeAndWritePng(benchmark::State& state) {
    const PictureInputs inputs;
    for (auto _ : state) {
        const QImage picture = composePicture(inputs);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(picture))
            state.SkipWithError("PNG writer failed");
        benchmark::DoNotOptimize(buffer.data().size());
    }
}
BENCHMARK(BM_ComposeAndWritePng);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
