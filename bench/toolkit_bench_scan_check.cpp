// The scan check runs after every preview: for the default picture it
// should add well under 10 ms to the click.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "Composition.h"
#include "ScanCheck.h"

namespace {

// What the window's check is given for a picture of `inputs`.
ScanSubject subjectOf(const PictureInputs& inputs, const TKelBarcode& barcode) {
    ScanSubject subject;
    subject.symbology = inputs.symbology;
    subject.typed = inputs.value;
    subject.shown = barcode.Text();
    return subject;
}

void checkPicture(benchmark::State& state, PictureInputs inputs) {
    TKelBarcode barcode;
    setUpAsWindowBarcode(barcode);
    const QImage picture = composePicture(inputs, barcode);
    const ScanSubject subject = subjectOf(inputs, barcode);
    if (checkScan(picture, subject).outcome != ScanOutcome::Scans)
        state.SkipWithError("the picture does not scan");
    for (auto _ : state) {
        ScanResult result = checkScan(picture, subject);
        benchmark::DoNotOptimize(result.read.data());
    }
}

// Code 128B "12345678", 20 mm, value shown: the window's first picture.
void BM_ScanCheckDefaultPicture(benchmark::State& state) { checkPicture(state, PictureInputs{}); }
BENCHMARK(BM_ScanCheckDefaultPicture)->Unit(benchmark::kMillisecond);

void BM_ScanCheckEan13(benchmark::State& state) {
    PictureInputs inputs;
    inputs.symbology = bcCodeEAN13;
    inputs.value = "4006381333931";
    checkPicture(state, inputs);
}
BENCHMARK(BM_ScanCheckEan13)->Unit(benchmark::kMillisecond);

// A long value: the widest picture the window commonly makes.
void BM_ScanCheckCode39Long(benchmark::State& state) {
    PictureInputs inputs;
    inputs.symbology = bcCode39;
    inputs.value = "HALVEX-BARCODE-0123456789";
    checkPicture(state, inputs);
}
BENCHMARK(BM_ScanCheckCode39Long)->Unit(benchmark::kMillisecond);

// A symbol that does not scan costs the most: every row is tried.
void BM_ScanCheckNothingReads(benchmark::State& state) {
    PictureInputs inputs;
    inputs.symbology = bcCodeEAN13;
    inputs.value = "4006381333932";  // wrong check digit
    TKelBarcode barcode;
    setUpAsWindowBarcode(barcode);
    const QImage picture = composePicture(inputs, barcode);
    const ScanSubject subject = subjectOf(inputs, barcode);
    for (auto _ : state) {
        ScanResult result = checkScan(picture, subject);
        benchmark::DoNotOptimize(result.read.data());
    }
}
BENCHMARK(BM_ScanCheckNothingReads)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
