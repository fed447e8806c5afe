#pragma once

class QWidget;

// Brings a window to the front: restored if minimised, raised and activated.
// Each platform has its own file; some need more than Qt's calls.
void bringToFront(QWidget *window);
