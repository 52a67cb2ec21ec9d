#include "framework/DataExchange.h"

#include "framework/Dialog.h"
#include "framework/FrameworkErrors.h"
#include "framework/MessageBox.h"

void ddxText(DataExchange& exchange, int id, String& value)
{
    if (exchange.failed)
        return;
    if (exchange.saveAndValidate)
        value = exchange.dialog.itemText(id);
    else
        exchange.dialog.setItemText(id, value);
}

void ddvMaxChars(DataExchange& exchange, int id, const String& value, int maxChars)
{
    if (exchange.failed)
        return;
    if (!exchange.saveAndValidate) {
        exchange.dialog.sendItem(id, EM_LIMITTEXT, WPARAM(maxChars > 0 ? maxChars : 0), 0);
        return;
    }
    if (int(value.size()) <= maxChars)
        return;
    showMessageBox(exchange.dialog.hwnd(),
                   String::fromFormat("Enter no more than %d characters.", maxChars), String(),
                   MB_OK | MB_ICONEXCLAMATION);
    if (HWND control = exchange.dialog.item(id)) {
        SetFocus(control);
        SendMessageA(control, EM_SETSEL, 0, -1);
    }
    exchange.failed = true;
}

void ddxControl(DataExchange& exchange, int id, CWnd& control)
{
    if (control.hwnd())
        return;
    if (!control.subclassDlgItem(id, exchange.dialog.hwnd()))
        throw FrameworkException("a dialog control could not be bound");
}

void ddxCheck(DataExchange& exchange, int id, int& value)
{
    if (exchange.failed)
        return;
    if (exchange.saveAndValidate)
        value = int(exchange.dialog.sendItem(id, BM_GETCHECK));
    else
        exchange.dialog.sendItem(id, BM_SETCHECK, WPARAM(value), 0);
}
