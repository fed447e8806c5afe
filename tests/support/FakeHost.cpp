#include "FakeHost.h"

FakeHost::FakeHost()
{
    buttons[Button::Polacz] = true;
    buttons[Button::Utworz] = true;
    buttons[Button::OdczytPlik] = true;
    buttons[Button::ZapisPlik] = false;
    buttons[Button::OdczytLicznik] = false;
    buttons[Button::ZapisLicznik] = false;
}

void FakeHost::showMessage(Message kind, const QString &text)
{
    messages.append({kind, text});
    if (onMessage)
        onMessage();
}
