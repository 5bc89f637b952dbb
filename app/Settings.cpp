#include "Settings.h"

#include <algorithm>
#include <cstring>

#include "AtomicFile.h"
#include "BarcodeTypes.h"
#include "Desktop.h"
#include "StrToInt.h"

namespace {

// Field offsets within the record.
constexpr std::size_t TypeIndexAt = 0, Reserved1At = 2, HeightAt = 4, ValueTextAt = 8,
                      ShowValueAt = 88, Reserved2At = 89, Line1TextAt = 200, Line2TextAt = 280;

// Upper case in Latin-1, the program's code page: a-z and the accented
// letters à..þ except the division sign.  ß and ÿ have no single-byte
// upper case and stay.
std::string upperCaseLatin1(std::string text) {
    for (char& c : text) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
            c = static_cast<char>(byte - 0x20);
    }
    return text;
}

template <std::size_t N>
void put(std::array<std::uint8_t, SettingsRecordSize>& out, std::size_t at, const std::array<char, N>& field) {
    std::memcpy(out.data() + at, field.data(), N);
}

template <std::size_t N>
void put(std::array<std::uint8_t, SettingsRecordSize>& out, std::size_t at,
         const std::array<std::uint8_t, N>& field) {
    std::memcpy(out.data() + at, field.data(), N);
}

void putLittleEndian(std::array<std::uint8_t, SettingsRecordSize>& out, std::size_t at,
                     std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getLittleEndian(const std::array<std::uint8_t, SettingsRecordSize>& in, std::size_t at,
                              int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= std::uint32_t(in[at + i]) << (8 * i);
    return value;
}

template <typename Field>
void get(const std::array<std::uint8_t, SettingsRecordSize>& in, std::size_t at, Field& field) {
    std::memcpy(field.data(), in.data() + at, field.size());
}

}  // namespace

std::string settingsText(const SettingsText& field) {
    return std::string(field.data(), std::find(field.begin(), field.end(), '\0'));
}

void setSettingsText(SettingsText& field, std::string_view text) {
    field.fill('\0');
    std::memcpy(field.data(), text.data(), std::min(text.size(), field.size()));
}

std::array<std::uint8_t, SettingsRecordSize> TBarcodeSettings::toBytes() const {
    std::array<std::uint8_t, SettingsRecordSize> out{};
    putLittleEndian(out, TypeIndexAt, static_cast<std::uint16_t>(TypeIndex), 2);
    put(out, Reserved1At, Reserved1);
    putLittleEndian(out, HeightAt, static_cast<std::uint32_t>(HeightMM), 4);
    put(out, ValueTextAt, ValueText);
    out[ShowValueAt] = ShowValue;
    put(out, Reserved2At, Reserved2);
    put(out, Line1TextAt, Line1Text);
    put(out, Line2TextAt, Line2Text);
    return out;
}

void TBarcodeSettings::overwriteStart(std::span<const std::uint8_t> bytes) {
    std::array<std::uint8_t, SettingsRecordSize> image = toBytes();
    std::memcpy(image.data(), bytes.data(), std::min(bytes.size(), image.size()));
    TypeIndex = static_cast<std::int16_t>(getLittleEndian(image, TypeIndexAt, 2));
    get(image, Reserved1At, Reserved1);
    HeightMM = static_cast<std::int32_t>(getLittleEndian(image, HeightAt, 4));
    get(image, ValueTextAt, ValueText);
    ShowValue = image[ShowValueAt];
    get(image, Reserved2At, Reserved2);
    get(image, Line1TextAt, Line1Text);
    get(image, Line2TextAt, Line2Text);
}

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

void SettingsStore::GatherSettings(const SettingsControls& controls, Desktop& desktop) {
    std::string value = controls.valueText();
    if (upperCasesValue(controls.typeIndex())) value = upperCaseLatin1(std::move(value));
    setSettingsText(record_.ValueText, value);

    record_.ShowValue = controls.displayChecked() ? 1 : 0;

    std::string height = controls.heightText();
    if (std::optional<std::int32_t> mm = strToInt(height)) {
        record_.HeightMM = *mm;
        record_.TypeIndex = static_cast<std::int16_t>(controls.typeIndex());
    } else {
        desktop.showError(invalidIntegerMessage(height));
    }

    setSettingsText(record_.Line1Text, controls.line1Text());
    setSettingsText(record_.Line2Text, controls.line2Text());
}

bool SettingsStore::LoadSettings(SettingsControls& controls) {
    FileReadResult file = readFileBounded(file_, SettingsFileSize);
    if (file.status != FileReadResult::Status::Ok) return false;
    applyFileBytes({reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size()},
                   controls);
    return true;
}

void SettingsStore::applyFileBytes(std::span<const std::uint8_t> bytes, SettingsControls& controls) {
    record_.overwriteStart(bytes.first(std::min(bytes.size(), SettingsRecordSize)));

    // A font is taken only when all its 60 bytes are there; after a short
    // one nothing more is read.
    for (std::size_t i = 0; i < SettingsFonts.size(); ++i) {
        std::size_t at = SettingsRecordSize + i * LogFontSize;
        if (bytes.size() < at + LogFontSize) break;
        LogFontBytes record;
        std::copy_n(bytes.begin() + at, LogFontSize, record.begin());
        fonts_[i] = StoredFont(record);
        SettingsFont which = SettingsFonts[i];
        TFont font = fonts_[i].font();
        font.Color = controls.font(which).Color;   // a record holds no colour
        controls.setFont(which, font);
        if (which == SettingsFont::Value) controls.setShowTextFont(controls.font(which));
    }

    controls.setValueText(settingsText(record_.ValueText));
    controls.setDisplayChecked(record_.ShowValue != 0);
    controls.setHeightText(std::to_string(record_.HeightMM));
    controls.setHeightPosition(static_cast<std::int16_t>(record_.HeightMM));
    controls.setLine1Text(settingsText(record_.Line1Text));
    controls.setLine2Text(settingsText(record_.Line2Text));
    controls.setTypeIndex(record_.TypeIndex);
}

std::array<std::uint8_t, SettingsFileSize> SettingsStore::fileBytes(const SettingsControls& controls) const {
    std::array<std::uint8_t, SettingsFileSize> out{};
    std::array<std::uint8_t, SettingsRecordSize> record = record_.toBytes();
    std::copy(record.begin(), record.end(), out.begin());
    for (std::size_t i = 0; i < SettingsFonts.size(); ++i) {
        LogFontBytes font = fonts_[i].bytesFor(controls.font(SettingsFonts[i]));
        std::copy(font.begin(), font.end(), out.begin() + SettingsRecordSize + i * LogFontSize);
    }
    return out;
}

bool SettingsStore::SaveSettings(const SettingsControls& controls) const {
    std::array<std::uint8_t, SettingsFileSize> bytes = fileBytes(controls);
    return writeFileAtomically(file_, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}
