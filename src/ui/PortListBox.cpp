#include "PortListBox.h"

#include <QComboBox>

namespace PortList {

void refresh(QComboBox *list, bool detect, const PortSource &source, const PortNaming &naming)
{
    const QString remembered = list->count() > 0 ? list->currentText() : QStringLiteral("COM 1");
    const QStringList entries = PortList::entries(detect, source);

    QStringList current;
    for (int i = 0; i < list->count(); ++i)
        current << list->itemText(i);
    if (current == entries)
        return;

    list->clear();
    for (const QString &e : entries) {
        list->addItem(e);
        const QString device = naming.devicePath(PortNaming::numberFromEntry(e));
        list->setItemData(list->count() - 1, device, Qt::ToolTipRole);
    }
    const int at = int(entries.indexOf(remembered));
    list->setCurrentIndex(entries.isEmpty() ? -1 : qMax(at, 0));
}

} // namespace PortList
