#pragma once
// The main window's remembered inputs: the 360-byte record TBarcodeSettings
// and the 540-byte settings file that holds it and the three fonts.
// Plain C++; the window reaches its controls through SettingsControls.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "Font.h"
#include "LogFont.h"

class Desktop;

inline constexpr const char* SettingsFileName = "HalvexBarcode.cfg";
inline constexpr std::size_t SettingsRecordSize = 360;
inline constexpr std::size_t SettingsFileSize = SettingsRecordSize + 3 * LogFontSize;

// A text field: the text, then NUL bytes to the end; 80 bytes of text fill
// it without a NUL.
using SettingsText = std::array<char, 80>;
std::string settingsText(const SettingsText& field);
void setSettingsText(SettingsText& field, std::string_view text);

// The record, field by field; the file holds it little-endian at these
// offsets.  The reserved bytes are kept as read and written back.
struct TBarcodeSettings {
    std::int16_t TypeIndex = 0;                  // offset 0
    std::array<std::uint8_t, 2> Reserved1{};     // offset 2
    std::int32_t HeightMM = 0;                   // offset 4
    SettingsText ValueText{};                    // offset 8
    std::uint8_t ShowValue = 0;                  // offset 88
    std::array<std::uint8_t, 111> Reserved2{};   // offset 89
    SettingsText Line1Text{};                    // offset 200
    SettingsText Line2Text{};                    // offset 280

    std::array<std::uint8_t, SettingsRecordSize> toBytes() const;
    // Overwrites the start of the record with `bytes` (at most 360 of
    // them); the rest keeps its values.
    void overwriteStart(std::span<const std::uint8_t> bytes);

    bool operator==(const TBarcodeSettings&) const = default;
};

// The three fonts the file keeps, in file order.
enum class SettingsFont { Value, Line1, Line2 };
inline constexpr std::array<SettingsFont, 3> SettingsFonts{SettingsFont::Value, SettingsFont::Line1,
                                                           SettingsFont::Line2};

// What the settings touch of the main window: `type`, `height`,
// `heightUpDown`, `value`, `display`, `line1`, `line2`, their fonts and the
// barcode's ShowTextFont.
class SettingsControls {
public:
    virtual ~SettingsControls() = default;

    virtual int typeIndex() const = 0;
    // Selects an item without running the list's change handler.
    virtual void setTypeIndex(int index) = 0;
    virtual std::string heightText() const = 0;
    virtual void setHeightText(const std::string& text) = 0;
    virtual void setHeightPosition(std::int16_t position) = 0;
    virtual std::string valueText() const = 0;
    virtual void setValueText(const std::string& text) = 0;
    virtual bool displayChecked() const = 0;
    virtual void setDisplayChecked(bool checked) = 0;
    virtual std::string line1Text() const = 0;
    virtual void setLine1Text(const std::string& text) = 0;
    virtual std::string line2Text() const = 0;
    virtual void setLine2Text(const std::string& text) = 0;
    virtual TFont font(SettingsFont which) const = 0;
    virtual void setFont(SettingsFont which, const TFont& font) = 0;
    virtual void setShowTextFont(const TFont& font) = 0;
};

// The record and the font records it was loaded with, and the file they go
// to.  The file name is resolved against the current directory at each
// open, as a bare name is.
class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file = SettingsFileName);

    TBarcodeSettings& record() { return record_; }
    const TBarcodeSettings& record() const { return record_; }

    // Copies the controls into the record.  A height that is not an integer
    // is reported through desktop and leaves HeightMM and TypeIndex as they
    // were; everything else is still gathered.
    void GatherSettings(const SettingsControls& controls, Desktop& desktop);

    // Reads the file into the record and the controls; false, with nothing
    // changed, when there is no readable file.
    bool LoadSettings(SettingsControls& controls);

    // Writes the record and the controls' fonts.  False when the file could
    // not be replaced, in which case the old file is left whole.
    bool SaveSettings(const SettingsControls& controls) const;

    // The steps of LoadSettings and SaveSettings without the file.  The
    // bytes may be of any length: a short file fills what it has, the
    // excess of a long one is ignored.
    void applyFileBytes(std::span<const std::uint8_t> bytes, SettingsControls& controls);
    std::array<std::uint8_t, SettingsFileSize> fileBytes(const SettingsControls& controls) const;

private:
    std::filesystem::path file_;
    TBarcodeSettings record_;
    std::array<StoredFont, 3> fonts_;
};
