#pragma once
// Server states of the status notices; the switch states 5..10 travel on
// the same channel.

#include "common/ToolbarChannel.h"

enum eServerState : int {
    SERVER_RUNNING = TB_STATUS_RUNNING,
    SERVER_STOPPED = TB_STATUS_STOPPED,
};
