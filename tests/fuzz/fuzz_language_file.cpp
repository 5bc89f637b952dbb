// Arbitrary bytes as a language file: reading must not fail, and a window
// writing its captions into it must find them there afterwards and must
// keep every section and key the file held, in order, with its value.

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "LanguageFile.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Names match as the file matches them, without regard to ASCII case.
bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LanguageFile file;
    file.loadText({reinterpret_cast<const char*>(data), size});
    const LanguageFile::Contents before = file.contents();

    // What SaveCaptions does for a window.
    const std::pair<std::string, std::string> captions[] = {
        {"Caption", "Print Form"}, {"uFirst", "&First"}, {"Label1", "Print Page\nFrom:"}, {"Label2", " To "}};
    for (const auto& [key, caption] : captions) file.setValue("PrintPreviewForm", key, caption);
    const std::string text = file.text();
    // The file is not written when it would not read back as it stands.
    if (!file.writesFaithfully(text)) return 0;

    LanguageFile reread;
    reread.loadText(text);
    for (const auto& [key, caption] : captions)
        check(reread.value("PrintPreviewForm", key) == std::optional<std::string>(caption));

    const LanguageFile::Contents after = reread.contents();
    check(after.size() >= before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        check(after[i].name == before[i].name);
        const bool windowSection = sameName(before[i].name, "PrintPreviewForm");
        check(after[i].keys.size() >= before[i].keys.size());
        for (std::size_t k = 0; k < before[i].keys.size(); ++k) {
            const auto& [key, value] = before[i].keys[k];
            check(after[i].keys[k].first == key);
            bool written = false;
            for (const auto& [ourKey, caption] : captions) written |= windowSection && sameName(key, ourKey);
            if (!written) check(after[i].keys[k].second == value);
        }
    }
    return 0;
}
