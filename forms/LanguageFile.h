#pragma once
// The language file: INI text with one section per window and one key per
// caption.  Section order, key order, comments and sections that no window
// writes all survive a read and a write; a new key goes to the end of its
// section.  Keys and sections match without regard to ASCII case.  Texts
// are bytes.  Plain C++, so it can be tested and fuzzed without Qt.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A bigger file is taken for damage, not for a translation.
inline constexpr std::size_t LanguageFileMaxSize = 4 * 1024 * 1024;

class LanguageFile {
public:
    enum class LoadStatus { Loaded, Missing, Unreadable };

    LanguageFile();
    ~LanguageFile();
    LanguageFile(const LanguageFile&) = delete;
    LanguageFile& operator=(const LanguageFile&) = delete;

    // Replaces the contents with the file's.  A missing file leaves the
    // contents empty; an unreadable or oversized one too, and says so,
    // since writing over it would lose it.
    LoadStatus load(const std::filesystem::path& path);
    void loadText(std::string_view text);

    // The value of a key; nullopt when the section or the key is missing.
    // A key present with an empty value gives "".
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Creates the section and the key when missing, else replaces the value.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Section names in file order, and the keys of one section in order.
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    // Everything the file holds, in order.
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
        bool operator==(const Section&) const = default;
    };
    using Contents = std::vector<Section>;
    Contents contents() const;

    std::string text() const;
    // Whether text, read back, gives the very contents of this file.
    bool writesFaithfully(const std::string& text) const;
    // Writes the file atomically; false, with the old file untouched, when
    // it cannot be written or would not read back as it stands.
    bool save(const std::filesystem::path& path) const;

private:
    struct Ini;
    std::unique_ptr<Ini> ini_;
};
