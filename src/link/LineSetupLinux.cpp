#include "LineSetup.h"

// QSerialPort sets the whole terminal mode from its own settings: nothing is left over.
QString LineSetup::apply(QSerialPort &)
{
    return {};
}
