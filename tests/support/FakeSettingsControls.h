#pragma once
// The main window's controls as the settings file sees them, without a
// window: they stand as after construction without a settings file
// ("Code 128B" selected, value "12345678", height 20, `display` checked,
// empty lines, the design fonts).  Plain C++, so the fuzz targets use it too.

#include <cstdint>
#include <string>

#include "Settings.h"

inline const TFont DesignFont{.Name = "MS Sans Serif", .Height = -16};

struct FakeSettingsControls : SettingsControls {
    int index = 0;
    std::string height = "20";
    std::int16_t heightPosition = 20;
    std::string value = "12345678";
    bool display = true;
    std::string line1{}, line2{};
    TFont fonts[3] = {DesignFont, DesignFont, DesignFont};
    TFont showTextFont{.Name = "MS Sans Serif", .Height = -11};
    int fontsSet = 0;

    int typeIndex() const override { return index; }
    void setTypeIndex(int i) override { index = i; }
    std::string heightText() const override { return height; }
    void setHeightText(const std::string& t) override { height = t; }
    void setHeightPosition(std::int16_t p) override { heightPosition = p; }
    std::string valueText() const override { return value; }
    void setValueText(const std::string& t) override { value = t; }
    bool displayChecked() const override { return display; }
    void setDisplayChecked(bool c) override { display = c; }
    std::string line1Text() const override { return line1; }
    void setLine1Text(const std::string& t) override { line1 = t; }
    std::string line2Text() const override { return line2; }
    void setLine2Text(const std::string& t) override { line2 = t; }
    TFont font(SettingsFont w) const override { return fonts[int(w)]; }
    void setFont(SettingsFont w, const TFont& f) override { fonts[int(w)] = f; ++fontsSet; }
    void setShowTextFont(const TFont& f) override { showTextFont = f; }
};
