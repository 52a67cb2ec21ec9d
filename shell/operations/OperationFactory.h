#pragma once

#include "foundation/String.h"

class ActionHistory;
class Operation;
class PropertyBag;

// The operation of a key (built-in keys, then the dialog-driven keys,
// "clipboardpaste" and plug-in identifiers); null for any other key.
Operation* createOperationFor(ActionHistory& history, const String& key, const PropertyBag& params);

// The dialog-driven keys, "clipboardpaste" and plug-in identifiers.
Operation* createDialogOperation(ActionHistory& history, const String& key,
                                 const PropertyBag& params);
