#pragma once

#include <windows.h>

// Base of objects that receive window messages through a shared window
// procedure. The signature lets that procedure recognise one of ours behind a
// window's user data before it trusts the pointer.
class MessageHandler
{
public:
    static const DWORD kSignature = 0x99225577u;

    DWORD signature;

    MessageHandler() : signature(kSignature) {}
    MessageHandler(const MessageHandler&) : signature(kSignature) {}
    MessageHandler& operator=(const MessageHandler&) { return *this; }
    virtual ~MessageHandler() {}

    // True when the message was handled and result is set.
    virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool isValid() const { return signature == kSignature; }
};
