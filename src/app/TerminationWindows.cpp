#include "Termination.h"

void closeOnTermination(QWidget *) {}
