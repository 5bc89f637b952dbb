#pragma once
// Each subcommand of halvex-barcode adds itself to the application; when it
// runs, it stores the process exit code in `exitCode` (0 done, 1 the
// engine refused the input, 2 usage, others as the command documents).

#include <CLI/CLI.hpp>

void addModulesCommand(CLI::App& app, int& exitCode);
void addTypesCommand(CLI::App& app, int& exitCode);
void addRenderCommand(CLI::App& app, int& exitCode);
void addBatchCommand(CLI::App& app, int& exitCode);
