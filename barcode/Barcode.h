#pragma once
// TKelBarcode: one barcode's definition, its encoders and its drawing.
// Plain C++: no toolkit, no I/O.  Errors are thrown as EBarcodeError.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "BarcodeError.h"
#include "Font.h"

class TCanvas;

enum TBarcodeType : std::uint8_t {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCodeUPC_A,
    bcCodeUPC_E0,
    bcCodeUPC_E1,
    bcCodeUPC_Supp2,
    bcCodeUPC_Supp5,
    bcCodeEAN128A,
    bcCodeEAN128B,
    bcCodeEAN128C,
};
inline constexpr int BarcodeTypeCount = 23;

enum class TBarLineType : std::uint8_t { white, black, black_half };
enum TBarcodeOption : std::uint8_t { bcoNone, bcoCode, bcoTyp, bcoBoth };
enum TShowTextPosition : std::uint8_t {
    stpTopLeft,
    stpTopRight,
    stpTopCenter,
    stpBottomLeft,
    stpBottomRight,
    stpBottomCenter,
};
enum TCheckSumMethod : std::uint8_t { csmNone, csmModulo10 };

// One row of the symbology table.
struct TBCdata {
    const char* Name;          // enum name, e.g. "bcCode128B"
    const char* DisplayName;   // e.g. "Code128B"
    bool NumericOnly;
    double RatioMin;           // 0 when the ratio is not clamped
    double RatioMax;
};
extern const std::array<TBCdata, BarcodeTypeCount> SymbologyInfo;

// The type whose enum name ("bcCode128B") or display name ("Code128B")
// equals `name`, ignoring ASCII case; nullopt when none does.
std::optional<TBarcodeType> BarcodeTypeByName(std::string_view name);

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

class TKelBarcode {
public:
    using TNotifyEvent = std::function<void(TKelBarcode* sender)>;

    TKelBarcode();
    virtual ~TKelBarcode() = default;
    TKelBarcode(const TKelBarcode&) = delete;
    TKelBarcode& operator=(const TKelBarcode&) = delete;

    virtual const char* ClassName() const { return "TKelBarcode"; }

    // Copies the barcode's definition without notifying; the text font,
    // text position and module widths stay this component's own.
    void Assign(const TKelBarcode& Source);
    virtual void DoChange();

    // Properties.  Setters notify as the property table says.
    int Height() const { return m_height; }
    void SetHeight(int value);
    const std::string& Text() const { return m_text; }
    void SetText(std::string_view value);
    int Top() const { return m_top; }
    void SetTop(int value);
    int Left() const { return m_left; }
    void SetLeft(int value);
    int Modul() const { return m_modul; }
    void SetModul(int value);
    double Ratio() const { return m_ratio; }
    void SetRatio(double value);
    TBarcodeType Typ() const { return m_typ; }
    void SetTyp(TBarcodeType value);
    bool Checksum() const { return m_checksum; }
    void SetCheckSum(bool value);
    TCheckSumMethod CheckSumMethod() const { return m_checkSumMethod; }
    void SetCheckSumMethod(TCheckSumMethod value) { m_checkSumMethod = value; }
    double Angle() const { return m_angle; }
    void SetAngle(double value);
    TBarcodeOption ShowText() const { return m_showText; }
    void SetShowText(TBarcodeOption value);
    const TFont& ShowTextFont() const { return m_showTextFont; }
    void SetShowTextFont(const TFont& value);
    TShowTextPosition ShowTextPosition() const { return m_showTextPosition; }
    void SetShowTextPosition(TShowTextPosition value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { m_color = value; }
    TColor ColorBar() const { return m_colorBar; }
    void SetColorBar(TColor value) { m_colorBar = value; }
    const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    int GetWidth();
    void SetWidth(int value);
    const std::array<int, 4>& ModuleWidths() const { return m_moduleWidths; }

    // Encoding.
    std::string MakeData();
    void MakeModules();
    void OneBarProps(char code, int& width, TBarLineType& line) const;
    std::string GetTypText() const;
    bool IsNumberOnly() const;
    std::string DoCheckSumming(std::string_view data) const;
    static std::string PatternToModules(std::string_view pattern);
    // The same conversion done in place, for encoders that own their pattern.
    static void PatternToModulesInPlace(std::string& pattern);

    // Drawing on a raster canvas.
    void DrawBarcode(TCanvas& canvas);
    void DoLines(std::string_view data, TCanvas& canvas);
    void DrawText(TCanvas& canvas);

    // The encoders; MakeData picks one by Typ.
    std::string Code_2_5_interleaved();
    std::string Code_2_5_industrial();
    std::string Code_2_5_matrix();
    std::string Code_39();
    std::string Code_39Extended();
    std::string Code_128();
    std::string Code_93();
    std::string Code_93Extended();
    std::string Code_MSI();
    std::string Code_PostNet();
    std::string Code_Codabar();
    std::string Code_EAN8();
    std::string Code_EAN13();
    std::string Code_UPC_A();
    std::string Code_UPC_E0();
    std::string Code_UPC_E1();
    std::string Code_Supp2();
    std::string Code_Supp5();

    // Text preceded by '0' characters up to n characters; never shortened.
    std::string SetLen(std::uint8_t n) const;

protected:
    // Encoders may store a normalised value without notification.
    void StoreText(std::string value) { m_text = std::move(value); }
    // "%s: ..." messages put the class name first.
    [[noreturn]] void Fail(std::string_view suffix) const;

private:
    int m_height = 0;
    std::string m_text;
    int m_top = 0;
    int m_left = 0;
    int m_modul = 1;
    double m_ratio = 2.0;
    TBarcodeType m_typ = bcCodeEAN13;
    bool m_checksum = false;
    TBarcodeOption m_showText = bcoNone;
    double m_angle = 0.0;
    TColor m_color = clWhite;
    TColor m_colorBar = clBlack;
    TCheckSumMethod m_checkSumMethod = csmModulo10;
    TNotifyEvent m_onChange;
    std::array<int, 4> m_moduleWidths{};
    TFont m_showTextFont;
    TShowTextPosition m_showTextPosition = stpTopLeft;
};
