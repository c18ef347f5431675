#pragma once
// Server states of the status notices; the switch states 5..10 travel on
// the same channel.

enum eServerState : int {
    SERVER_RUNNING = 0,
    SERVER_STOPPED = 1,
};
