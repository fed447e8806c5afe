#pragma once

#include <QString>

#include <cstdio>

// A line of text for the user, in the console's own characters (on Windows the
// console is not UTF-8; a pipe or a file gets UTF-8).
void printLine(std::FILE *stream, const QString &text);
