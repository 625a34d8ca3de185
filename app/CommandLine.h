#pragma once
#include <string>
#include <vector>

// The program's parameters (without the program itself), as UTF-8.
[[nodiscard]] std::vector<std::string> CommandLineParameters();

// The folder of player.exe, with a trailing backslash.
[[nodiscard]] std::string ProgramFolder();
