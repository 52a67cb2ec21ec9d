#pragma once

// A DDEML client of the tests' own, in a thread of its own, so that the
// calling thread can serve the conversation. Header only; the framework and
// shell GUI suites use it.

#include <windows.h>
#include <ddeml.h>

#include <functional>
#include <vector>

#include "foundation/String.h"

namespace guitest {

// What the client sends, and what it met: whether it connected, and the
// answer to each execute string.
struct DdeClientRun
{
    String service;
    String topic;
    std::vector<String> executes;
    bool connected = false;
    std::vector<bool> acknowledged;
    std::vector<bool> busy;
};

inline HDDEDATA CALLBACK ignoreDdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

inline DWORD WINAPI ddeClientThread(void* parameter)
{
    DdeClientRun& run = *static_cast<DdeClientRun*>(parameter);
    DWORD instance = 0;
    if (DdeInitializeA(&instance, &ignoreDdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return 1;
    HSZ service = DdeCreateStringHandleA(instance, run.service.c_str(), CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, run.topic.c_str(), CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    run.connected = conversation != nullptr;
    for (const String& text : run.executes) {
        if (!conversation)
            break;
        DWORD status = 0;
        HDDEDATA answer = DdeClientTransaction(
            reinterpret_cast<BYTE*>(const_cast<char*>(text.c_str())), DWORD(text.size() + 1),
            conversation, nullptr, 0, XTYP_EXECUTE, 10000, &status);
        run.acknowledged.push_back(answer != nullptr);
        run.busy.push_back((status & DDE_FBUSY) != 0);
    }
    if (conversation)
        DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return 0;
}

// Runs the client while `serve` dispatches this thread's messages (the
// server's callbacks arrive through them); false when it did not end within
// 30 seconds.
inline bool runDdeClient(DdeClientRun& run, const std::function<void()>& serve)
{
    HANDLE thread = CreateThread(nullptr, 0, &ddeClientThread, &run, 0, nullptr);
    if (!thread)
        return false;
    const DWORD until = GetTickCount() + 30000;
    while (WaitForSingleObject(thread, 5) == WAIT_TIMEOUT && GetTickCount() < until)
        serve();
    const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

} // namespace guitest
