#pragma once

#include <QString>

#include <cstdio>
#include <functional>

class QObject;

// A line of text for the user, in the console's own characters (on Windows the
// console is not UTF-8: a console gets UTF-16, a pipe or a file the console's
// output code page, as Windows console programs write it).
void printLine(std::FILE *stream, const QString &text);

// A closed pipe on stdout or stderr never stops the program (a write must end
// with its verification), and each SIGINT or SIGTERM (on Windows Ctrl+C, and
// Ctrl+Break or the console closing as SIGTERM) reaches onInterrupt with its
// number, in context's event loop.
void watchInterruptions(QObject *context, std::function<void(int)> onInterrupt);

// Drawing (a PDF) without a display: the platform that needs none, unless the user chose one.
void drawWithoutDisplay();
