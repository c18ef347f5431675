#pragma once
// Which of the pool's lists fill a chain; any other value fills nothing.

enum eChainProxiesType : int {
    CHAIN_PUBLIC_ONLY = 3,
    CHAIN_PRIVATE_THEN_PUBLIC = 4,
};
