#pragma once

#include "PortList.h"

class QComboBox;

namespace PortList {

// Refills the pick list, keeping the selection where it can; changes nothing
// when the entries are the same. Each entry's tooltip names its device.
void refresh(QComboBox *list, bool detect, const PortSource &source, const PortNaming &naming);

} // namespace PortList
