#pragma once

#include <functional>
#include <vector>

#include <windows.h>
#include <ddeml.h>

#include "foundation/String.h"

// One command of a DDE execute string: [name("argument", ...)].
struct DdeCommand
{
    String name;
    std::vector<String> arguments;
};

// Splits an execute string into its bracketed commands; false (and nothing
// taken) when any part of it is malformed.
bool parseDdeExecute(const String& text, std::vector<DdeCommand>& commands);

// A DDEML server in the calling thread that accepts conversations on one
// service and topic and hands the commands of each execute to a handler.
// Callbacks arrive while that thread dispatches messages. A handler must not
// show a window or run a message loop: a client that gives up meanwhile has
// its conversation freed under the callback.
class CDdeServer
{
public:
    // Answers whether the commands were taken; the client is told.
    typedef std::function<bool(const std::vector<DdeCommand>& commands)> CommandHandler;
    // True while requests must wait (the client is told the server is busy).
    typedef std::function<bool()> BusyCheck;

    CDdeServer();
    ~CDdeServer();
    CDdeServer(const CDdeServer&) = delete;
    CDdeServer& operator=(const CDdeServer&) = delete;

    bool start(const String& service, const String& topic, CommandHandler handler,
               BusyCheck busy = BusyCheck());
    void stop();

private:
    static HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV conversation, HSZ first,
                                      HSZ second, HDDEDATA data, ULONG_PTR, ULONG_PTR);
    HDDEDATA onCallback(UINT type, HSZ first, HSZ second, HDDEDATA data);
    bool execute(HDDEDATA data);

    DWORD instance_;
    HSZ service_;
    HSZ topic_;
    CommandHandler handler_;
    BusyCheck busy_;
};
