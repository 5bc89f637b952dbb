// Entry of halvex-barcode (stand-in with the render command only).
#include <CLI/CLI.hpp>

#include "Commands.h"

int main(int argc, char** argv) {
    CLI::App app{"halvex-barcode: make barcode pictures"};
    app.require_subcommand(1);
    int exitCode = 0;
    addRenderCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    return exitCode;
}
