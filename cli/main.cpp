// halvex-barcode: the command-line front end over the barcode engine.

#include <exception>
#include <iostream>
#include <sstream>
#include <string>

#include "Commands.h"

namespace {

// The "Usage: ..." line of a command's help.
std::string usageLine(const CLI::App& command) {
    std::istringstream help(command.help());
    std::string line;
    const std::string bare = "Usage: " + command.get_name() + " ";
    while (std::getline(help, line)) {
        if (command.get_parent() && line.rfind(bare, 0) == 0)
            return "Usage: halvex-barcode " + line.substr(7);
        if (line.rfind("Usage:", 0) == 0)
            return line;
    }
    return "Usage: halvex-barcode COMMAND [OPTIONS]";
}

// The innermost command the arguments named.
const CLI::App& commandInUse(const CLI::App& app) {
    for (const CLI::App* sub : app.get_subcommands())
        if (sub->parsed())
            return *sub;
    return app;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Make barcode pictures from the command line: one with `render`, thousands with `batch`.",
                 "halvex-barcode"};
    app.footer(
        "\nRun 'halvex-barcode COMMAND --help' for the options of a command.\n"
        "Exit status: 0 done, 1 a value or file was refused, 2 usage error.");
    app.require_subcommand(1);
    int exitCode = 0;
    addModulesCommand(app, exitCode);
    addTypesCommand(app, exitCode);
    addRenderCommand(app, exitCode);
    addBatchCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help: help on standard output, exit 0
    } catch (const CLI::ParseError& e) {
        // Usage errors: what was wrong, the usage line, and where to read more.
        const CLI::App& command = commandInUse(app);
        const std::string name = command.get_parent() ? "halvex-barcode " + command.get_name() : "halvex-barcode";
        std::cerr << name << ": " << e.what() << '\n'
                  << usageLine(command) << '\n'
                  << "Try '" << name << " --help' for more information.\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "halvex-barcode: " << e.what() << '\n';
        return 1;
    }
    return exitCode;
}
