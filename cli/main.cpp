// halvex-barcode: the command-line front end over the barcode engine.

#include <exception>
#include <iostream>

#include "Commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Halvex Barcode command-line tool.", "halvex-barcode"};
    app.require_subcommand(1);
    int exitCode = 0;
    addModulesCommand(app, exitCode);
    addTypesCommand(app, exitCode);
    addRenderCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help: help on standard output, exit 0
    } catch (const CLI::ParseError& e) {
        // Usage errors: what was wrong, then the usage of the command at hand.
        std::cerr << "error: " << e.what() << "\n\n" << app.help();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return exitCode;
}
