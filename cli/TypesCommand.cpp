// `types`: the symbologies that --type accepts, one a line: value, enum
// name, display name.

#include <cstdio>

#include "Barcode.h"
#include "Commands.h"

void addTypesCommand(CLI::App& app, int& exitCode) {
    CLI::App* command = app.add_subcommand(
        "types", "List the symbologies: value, enum name and display name, one a line.");
    command->callback([&exitCode] {
        for (int i = 0; i < BarcodeTypeCount; ++i)
            std::printf("%2d  %-24s%s\n", i, SymbologyInfo[i].Name, SymbologyInfo[i].DisplayName);
        exitCode = 0;
    });
}
