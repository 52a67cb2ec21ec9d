#include "framework/NumberExchange.h"

#include <climits>

#include "foundation/NumberText.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"

namespace {

void refuse(DataExchange& exchange, int id, const String& message)
{
    showMessageBox(exchange.dialog.hwnd(), message, String(), MB_OK | MB_ICONEXCLAMATION);
    if (HWND control = exchange.dialog.item(id)) {
        SetFocus(control);
        SendMessageA(control, EM_SETSEL, 0, -1);
    }
    exchange.failed = true;
}

bool isRadioButton(HWND window)
{
    const LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

} // namespace

void ddxInt(DataExchange& exchange, int id, int& value)
{
    if (exchange.failed)
        return;
    if (!exchange.saveAndValidate) {
        exchange.dialog.setItemText(id, String::fromFormat("%d", value));
        return;
    }
    const String text = exchange.dialog.itemText(id);
    long parsed = 0;
    const char* end = nullptr;
    const bool number = parseLong(text.c_str(), parsed, &end);
    while (number && end && isCSpace(*end))
        ++end;
    if (!number || (end && *end) || parsed < INT_MIN || parsed > INT_MAX) {
        refuse(exchange, id, "Please enter an integer.");
        return;
    }
    value = int(parsed);
}

void ddvMinMaxInt(DataExchange& exchange, int id, int value, int minimum, int maximum)
{
    if (exchange.failed || !exchange.saveAndValidate)
        return;
    if (value >= minimum && value <= maximum)
        return;
    refuse(exchange, id,
           String::fromFormat("Please enter an integer between %d and %d.", minimum, maximum));
}

void ddxRadio(DataExchange& exchange, int id, int& value)
{
    if (exchange.failed)
        return;
    HWND button = exchange.dialog.item(id);
    int index = 0;
    if (exchange.saveAndValidate)
        value = -1;
    for (HWND w = button; w; w = GetWindow(w, GW_HWNDNEXT), ++index) {
        if (w != button && (GetWindowLongA(w, GWL_STYLE) & WS_GROUP))
            break;
        if (!isRadioButton(w))
            continue;
        if (exchange.saveAndValidate) {
            if (SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            SendMessageA(w, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}
