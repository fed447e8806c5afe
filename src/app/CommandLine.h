#pragma once

#include <optional>

// --help and --version, answered before any window exists: a packager's build
// machine has no display. Anything else on the command line is left to Qt
// (-platform, -style) and otherwise ignored, as before.
namespace CommandLine {
// The exit code when the program has answered and must end; nothing when it
// should start as usual.
std::optional<int> answer(int &argc, char **argv);
} // namespace CommandLine
