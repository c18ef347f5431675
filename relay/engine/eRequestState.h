#pragma once
// The outgoing filter's verdict on one block of client data.

enum eRequestState : int {
    REQUEST_STATE_PASS = 0,
    REQUEST_STATE_CLOSE = 1,         // close the connection
    REQUEST_STATE_BLOCK_SERVER = 2,  // answer with page 1001, then close
    REQUEST_STATE_BLOCK_AD = 3,      // answer with page 1002, then close
};
