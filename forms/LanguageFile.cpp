#include "LanguageFile.h"

// SimpleIni is used header-only over bytes: no wide-character conversion.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include "AtomicFile.h"

struct LanguageFile::Ini {
    Ini() { reset(); }
    void reset() {
        ini.Reset();
        ini.SetUnicode(false);     // bytes in, bytes out
        ini.SetMultiKey(false);
        ini.SetMultiLine(true);    // so a caption with a line break or edge
                                   // blanks is written in a form read back whole
        ini.SetSpaces(false);      // "key=value"
    }
    CSimpleIniA ini;
};

namespace {

// SimpleIni takes C strings; a NUL ends a name or a value.
std::string cString(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

// A line that opens a section name but never closes it would make the
// reader file the keys that follow under a name running over several
// lines.  Closing it at the end of its line keeps those keys where the
// line put them and lets the file be written back as read.  The reader
// ends a line at a CR as well as at an LF.
std::string closeSectionLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        out.append(line);
        std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[' && line.find(']') == std::string_view::npos)
            out.push_back(']');
        if (end < text.size()) out.push_back(text[end]);
        at = end + 1;
    }
    return out;
}

}  // namespace

LanguageFile::LanguageFile() : ini_(std::make_unique<Ini>()) {}
LanguageFile::~LanguageFile() = default;

LanguageFile::LoadStatus LanguageFile::load(const std::filesystem::path& path) {
    ini_->reset();
    FileReadResult file = readFileBounded(path, LanguageFileMaxSize);
    switch (file.status) {
    case FileReadResult::Status::Missing: return LoadStatus::Missing;
    case FileReadResult::Status::Unreadable: return LoadStatus::Unreadable;
    case FileReadResult::Status::Ok: break;
    }
    if (file.truncated) return LoadStatus::Unreadable;
    loadText(file.bytes);
    return LoadStatus::Loaded;
}

void LanguageFile::loadText(std::string_view text) {
    ini_->reset();
    // An editor may have put a UTF-8 signature in front of the first section.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::string closed = closeSectionLines(text);
    if (ini_->ini.LoadData(closed.data(), closed.size()) < 0) ini_->reset();
}

LanguageFile::Contents LanguageFile::contents() const {
    Contents out;
    for (const std::string& section : sections()) {
        // A nameless section without keys (from "[]") carries nothing.
        if (section.empty() && keys(section).empty()) continue;
        out.push_back({section, {}});
        for (const std::string& key : keys(section))
            out.back().keys.emplace_back(key, value(section, key).value_or(std::string()));
    }
    return out;
}

bool LanguageFile::writesFaithfully(const std::string& text) const {
    LanguageFile reread;
    reread.loadText(text);
    return reread.contents() == contents();
}

std::optional<std::string> LanguageFile::value(std::string_view section, std::string_view key) const {
    const char* found = ini_->ini.GetValue(cString(section).c_str(), cString(key).c_str(), nullptr);
    if (found == nullptr) return std::nullopt;
    return std::string(found);
}

void LanguageFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    ini_->ini.SetValue(cString(section).c_str(), cString(key).c_str(), cString(value).c_str());
}

std::vector<std::string> LanguageFile::sections() const {
    CSimpleIniA::TNamesDepend names;
    ini_->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> out;
    for (const auto& name : names) out.emplace_back(name.pItem);
    return out;
}

std::vector<std::string> LanguageFile::keys(std::string_view section) const {
    CSimpleIniA::TNamesDepend names;
    ini_->ini.GetAllKeys(cString(section).c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> out;
    for (const auto& name : names) out.emplace_back(name.pItem);
    return out;
}

std::string LanguageFile::text() const {
    std::string out;
    ini_->ini.Save(out);
    return out;
}

bool LanguageFile::save(const std::filesystem::path& path) const {
    std::string out;
    if (ini_->ini.Save(out) < 0) return false;
    // A value the INI syntax cannot carry (such as a line that ends a
    // multi-line value) would come back changed: keep the old file then.
    if (!writesFaithfully(out)) return false;
    return writeFileAtomically(path, out);
}
