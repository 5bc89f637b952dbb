// `modules`: encodes one value with a fresh TKelBarcode and prints the module
// string, the text after encoding and the total width.

#include <cmath>
#include <iostream>
#include <memory>
#include <string>

#include "Barcode.h"
#include "Commands.h"

namespace {

struct ModulesOptions {
    std::string type;
    bool checksum = false;
    std::string checksumMethod;
    int modul = 1;
    double ratio = 2.0;
    bool hex = false;
    std::string value;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "4142" -> "AB"; a usage error when the digits do not make whole bytes.
std::string fromHex(const std::string& digits) {
    if (digits.size() % 2 != 0)
        throw CLI::ValidationError("VALUE", "--hex needs two hexadecimal digits a byte: " + digits);
    std::string bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = hexDigit(digits[i]);
        const int low = hexDigit(digits[i + 1]);
        if (high < 0 || low < 0)
            throw CLI::ValidationError("VALUE", "not a hexadecimal byte: " + digits.substr(i, 2));
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

std::string toHex(const std::string& bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 0x0F]);
    }
    return hex;
}

}  // namespace

void addModulesCommand(CLI::App& app, int& exitCode) {
    auto options = std::make_shared<ModulesOptions>();
    CLI::App* command = app.add_subcommand(
        "modules", "Encode VALUE and print its module string, its text after encoding and its width.");

    const CLI::Validator knownType(
        [](std::string& name) -> std::string {
            if (BarcodeTypeByName(name))
                return {};
            return "unknown type '" + name + "' (halvex-barcode types lists them)";
        },
        "TYPE");
    const CLI::Validator positiveFinite(
        [](std::string& text) -> std::string {
            double ratio = 0;
            if (!CLI::detail::lexical_cast(text, ratio) || !std::isfinite(ratio) || ratio <= 0)
                return "the ratio must be a number greater than 0: " + text;
            return {};
        },
        "R>0");

    command->add_option("--type", options->type,
                        "Symbology: enum name (bcCode128B) or display name (Code128B), any case")
        ->required()
        ->check(knownType);
    command->add_flag("--checksum", options->checksum, "Add the optional check characters");
    command->add_option("--checksum-method", options->checksumMethod,
                        "How the check digit is formed: none or mod10 (default mod10)")
        ->check(CLI::IsMember({"none", "mod10"}));
    command->add_option("--modul", options->modul, "Width of the narrow element, 1 to 49 (default 1)")
        ->check(CLI::Range(1, 49));
    command->add_option("--ratio", options->ratio, "Wide-to-narrow ratio (default 2.0)")->check(positiveFinite);
    command->add_flag("--hex", options->hex,
                      "VALUE is given, and text= printed, as hexadecimal bytes (4142 is AB)");
    command->add_option("VALUE", options->value, "The value to encode")->required();

    command->callback([options, command, &exitCode] {
        const ModulesOptions& o = *options;
        const std::string value = o.hex ? fromHex(o.value) : o.value;

        TKelBarcode barcode;
        barcode.SetTyp(*BarcodeTypeByName(o.type));
        barcode.SetCheckSum(o.checksum);
        if (!o.checksumMethod.empty())
            barcode.SetCheckSumMethod(o.checksumMethod == "none" ? csmNone : csmModulo10);
        if (command->count("--modul") > 0)
            barcode.SetModul(o.modul);
        if (command->count("--ratio") > 0)
            barcode.SetRatio(o.ratio);
        barcode.SetText(value);

        std::string modules;
        int width = 0;
        try {
            modules = barcode.MakeData();
            width = barcode.GetWidth();
        } catch (const EBarcodeError& e) {
            std::cerr << e.what() << '\n';
            exitCode = 1;
            return;
        }
        const std::string& text = barcode.Text();
        std::cout << "modules=" << modules << '\n'
                  << "text=" << (o.hex ? toHex(text) : text) << '\n'
                  << "width=" << width << '\n';
        exitCode = 0;
    });
}
