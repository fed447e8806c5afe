#pragma once

class QLocalSocket;
class QWidget;

// Brings a window to the front: restored if minimised, raised and activated.
// Each platform has its own file; some need more than Qt's calls.
void bringToFront(QWidget *window);

// Called by a second copy, which the system still counts as the program the
// technician started: lets the copy at the other end of the socket take the
// front. Nothing to do where the system has no foreground lock.
void allowToComeToFront(QLocalSocket &socket);
