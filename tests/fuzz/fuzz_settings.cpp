// Arbitrary bytes as a settings file: the loader must take any length and
// any content, and what it shows must be what a save writes back.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Desktop.h"
#include "FakeSettingsControls.h"
#include "Settings.h"

namespace {

using Controls = FakeSettingsControls;

struct SilentDesktop : Desktop {
    int errors = 0;
    void showMessage(const std::string&) override {}
    void showError(const std::string&) override { ++errors; }
    std::optional<TFont> chooseFont(const TFont&) override { return std::nullopt; }
    std::optional<std::string> chooseSaveFile(const SaveFileRequest&) override { return std::nullopt; }
    int execModal(QDialog&) override { return 0; }
    bool copyImageToClipboard(const QImage&) override { return false; }
    void openDocument(const std::string&) override {}
};

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Controls controls;
    SettingsStore store("/nonexistent/HalvexBarcode.cfg");
    store.applyFileBytes({data, size}, controls);

    // Saved without a change, the file comes back as read (cut to 540
    // bytes); a shorter file's record keeps what it had.
    auto saved = store.fileBytes(controls);
    check(std::memcmp(saved.data(), data, std::min(size, SettingsRecordSize)) == 0);
    if (size >= SettingsFileSize) check(std::memcmp(saved.data(), data, SettingsFileSize) == 0);

    // Gathered from the controls it filled, saved and loaded again, the
    // controls show the same inputs.
    SilentDesktop desktop;
    store.GatherSettings(controls, desktop);
    check(desktop.errors == 0);   // the height text came from a number
    auto again = store.fileBytes(controls);
    Controls reloaded;
    SettingsStore other("/nonexistent/HalvexBarcode.cfg");
    other.applyFileBytes(again, reloaded);
    check(reloaded.height == controls.height);
    check(reloaded.index == std::int16_t(controls.index));
    check(reloaded.display == controls.display);
    check(reloaded.line1 == controls.line1 && reloaded.line2 == controls.line2);
    for (int i = 0; i < 3; ++i) check(reloaded.fonts[i] == controls.fonts[i]);
    return 0;
}
