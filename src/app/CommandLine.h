#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// --help and --version, answered before any window exists: a packager's build
// machine has no display. Qt's own options (-platform, -style, -reverse …) are
// left to Qt; any other option is refused.
namespace CommandLine {

enum class Action { Start, Help, Version, Error };

// What the arguments (program name first) ask for; error gets the parser's text.
Action parse(const QStringList &arguments, QString *error = nullptr);

// The exit code when the program has answered and must end; nothing when it
// should start as usual.
std::optional<int> answer(int &argc, char **argv);

} // namespace CommandLine
