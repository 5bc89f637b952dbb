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
    if (ini_->ini.LoadData(text.data(), text.size()) < 0) ini_->reset();
}

std::optional<std::string> LanguageFile::value(std::string_view section, std::string_view key) const {
    const char* found = ini_->ini.GetValue(cString(section).c_str(), cString(key).c_str(), nullptr);
    if (found == nullptr) return std::nullopt;
    return std::string(found);
}

void LanguageFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    ini_->ini.SetValue(cString(section).c_str(), cString(key).c_str(), cString(value).c_str());
}

std::string LanguageFile::text() const {
    std::string out;
    ini_->ini.Save(out);
    return out;
}

bool LanguageFile::save(const std::filesystem::path& path) const {
    std::string out;
    if (ini_->ini.Save(out) < 0) return false;
    return writeFileAtomically(path, out);
}
