#pragma once
#include <string>

// The file version of the running program as its version resource gives it
// ("1.0.0"), or "" when it has none.
[[nodiscard]] std::string ProgramVersion();
