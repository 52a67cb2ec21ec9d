#include "foundation/MessageHandler.h"

bool MessageHandler::handleMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}
