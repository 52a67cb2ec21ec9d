#pragma once

class DataExchange;

// Whole numbers and radio groups in dialog data exchange. A failed check
// shows the framework's message, focuses and selects the control and sets
// the exchange's failed flag; later exchanges of the pass then do nothing.

// Edit text <-> signed whole number; saving refuses text that is not one.
void ddxInt(DataExchange& exchange, int id, int& value);
// Saving refuses a value outside [minimum, maximum].
void ddvMinMaxInt(DataExchange& exchange, int id, int value, int minimum, int maximum);
// The radio group that starts at the control of id (up to the next control
// with WS_GROUP) <-> the index of its checked button, -1 for none.
void ddxRadio(DataExchange& exchange, int id, int& value);
