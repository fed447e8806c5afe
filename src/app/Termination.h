#pragma once

class QWidget;

// When the system asks the program to end (a log-out, `kill`, Ctrl+C in a
// terminal), the window is closed as its close button closes it: the port is
// closed first and the settings are kept. Windows sends its window messages,
// which Qt turns into the same close.
void closeOnTermination(QWidget *window);
