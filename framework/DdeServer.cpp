#include "framework/DdeServer.h"

#include <algorithm>
#include <cctype>

#include "framework/FrameworkErrors.h"

namespace {

// DDEML callbacks carry no context: the running servers of the process.
std::vector<CDdeServer*>& runningServers()
{
    static std::vector<CDdeServer*> servers;
    return servers;
}

void skipSpaces(const String& text, size_t& at)
{
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
}

bool parseArgument(const String& text, size_t& at, String& argument)
{
    skipSpaces(text, at);
    if (at < text.size() && text[at] == '"') {
        // Paths cannot hold a quote, so the next one ends the argument.
        const size_t end = text.find('"', at + 1);
        if (end == String::npos)
            return false;
        argument = text.substr(at + 1, end - at - 1);
        at = end + 1;
    } else {
        const size_t end = text.find_first_of(",)", at);
        if (end == String::npos)
            return false;
        argument = text.substr(at, end - at);
        argument.trimRight(" \t\r\n");
        at = end;
    }
    skipSpaces(text, at);
    return true;
}

bool parseCommand(const String& text, size_t& at, DdeCommand& command)
{
    if (at >= text.size() || text[at] != '[')
        return false;
    ++at;
    skipSpaces(text, at);
    const size_t nameStart = at;
    while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_'))
        ++at;
    if (at == nameStart)
        return false;
    command.name = text.substr(nameStart, at - nameStart);
    command.arguments.clear();
    skipSpaces(text, at);
    if (at < text.size() && text[at] == '(') {
        ++at;
        skipSpaces(text, at);
        if (at < text.size() && text[at] == ')') {
            ++at;
        } else {
            while (true) {
                String argument;
                if (!parseArgument(text, at, argument))
                    return false;
                command.arguments.push_back(argument);
                if (at < text.size() && text[at] == ',') {
                    ++at;
                    continue;
                }
                if (at < text.size() && text[at] == ')') {
                    ++at;
                    break;
                }
                return false;
            }
        }
        skipSpaces(text, at);
    }
    if (at >= text.size() || text[at] != ']')
        return false;
    ++at;
    return true;
}

// Execute data may come from a Unicode client: UTF-16 text is turned into
// the ANSI code page the rest of the program uses.
String executeText(const std::vector<BYTE>& bytes)
{
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) {
        std::wstring wide(bytes.size() / 2, L'\0');
        std::copy(bytes.begin(), bytes.begin() + long(wide.size() * 2),
                  reinterpret_cast<BYTE*>(&wide[0]));
        wide.resize(std::min(wide.size(), wide.find(L'\0')));
        const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), int(wide.size()), nullptr,
                                               0, nullptr, nullptr);
        String text(size_t(std::max(length, 0)), '\0');
        if (length > 0)
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), int(wide.size()), &text[0], length,
                                nullptr, nullptr);
        return text;
    }
    const auto end = std::find(bytes.begin(), bytes.end(), BYTE(0));
    return String(bytes.begin(), end);
}

} // namespace

bool parseDdeExecute(const String& text, std::vector<DdeCommand>& commands)
{
    std::vector<DdeCommand> parsed;
    size_t at = 0;
    skipSpaces(text, at);
    while (at < text.size()) {
        DdeCommand command;
        if (!parseCommand(text, at, command))
            return false;
        parsed.push_back(command);
        skipSpaces(text, at);
    }
    if (parsed.empty())
        return false;
    commands.insert(commands.end(), parsed.begin(), parsed.end());
    return true;
}

CDdeServer::CDdeServer() : instance_(0), service_(nullptr), topic_(nullptr)
{
}

CDdeServer::~CDdeServer()
{
    stop();
}

bool CDdeServer::start(const String& service, const String& topic, CommandHandler handler,
                       BusyCheck busy)
{
    stop();
    handler_ = std::move(handler);
    busy_ = std::move(busy);
    DWORD instance = 0;
    const UINT filters = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES |
                         CBF_FAIL_REQUESTS | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (DdeInitializeA(&instance, &CDdeServer::callback, filters, 0) != DMLERR_NO_ERROR)
        return false;
    instance_ = instance;
    runningServers().push_back(this);
    service_ = DdeCreateStringHandleA(instance_, service.c_str(), CP_WINANSI);
    topic_ = DdeCreateStringHandleA(instance_, topic.c_str(), CP_WINANSI);
    if (!service_ || !topic_ || !DdeNameService(instance_, service_, nullptr, DNS_REGISTER)) {
        stop();
        return false;
    }
    return true;
}

void CDdeServer::stop()
{
    if (!instance_)
        return;
    if (service_)
        DdeNameService(instance_, service_, nullptr, DNS_UNREGISTER);
    if (service_)
        DdeFreeStringHandle(instance_, service_);
    if (topic_)
        DdeFreeStringHandle(instance_, topic_);
    DdeUninitialize(instance_);
    auto& servers = runningServers();
    servers.erase(std::remove(servers.begin(), servers.end(), this), servers.end());
    instance_ = 0;
    service_ = topic_ = nullptr;
}

HDDEDATA CALLBACK CDdeServer::callback(UINT type, UINT, HCONV, HSZ first, HSZ second,
                                       HDDEDATA data, ULONG_PTR, ULONG_PTR)
{
    // Nothing may unwind into DDEML, and nothing may be shown here: a
    // message box's loop would let a client that gives up free the
    // conversation under the callback.
    try {
        for (CDdeServer* server : runningServers()) {
            const HSZ topic = first;
            const bool ours = type == XTYP_CONNECT
                                  ? DdeCmpStringHandles(second, server->service_) == 0
                                  : true;
            if (ours && topic && DdeCmpStringHandles(topic, server->topic_) == 0)
                return server->onCallback(type, first, second, data);
        }
    } catch (...) {
        logCurrentException("DDE request");
    }
    return type == XTYP_EXECUTE ? reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED) : nullptr;
}

HDDEDATA CDdeServer::onCallback(UINT type, HSZ, HSZ, HDDEDATA data)
{
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_EXECUTE:
        if (busy_ && busy_())
            return reinterpret_cast<HDDEDATA>(DDE_FBUSY);
        return reinterpret_cast<HDDEDATA>(execute(data) ? DDE_FACK : DDE_FNOTPROCESSED);
    default:
        return nullptr;
    }
}

bool CDdeServer::execute(HDDEDATA data)
{
    const DWORD size = data ? DdeGetData(data, nullptr, 0, 0) : 0;
    if (!size || !handler_)
        return false;
    std::vector<BYTE> bytes(size);
    DdeGetData(data, bytes.data(), size, 0);
    std::vector<DdeCommand> commands;
    return parseDdeExecute(executeText(bytes), commands) && handler_(commands);
}
