#pragma once
// The program's automation server module: its AppID (registry script 103)
// and its object map (the page factory KavelinA and ProxyControl), whose
// class objects are served on the session bus. The automation area fills
// the object map's operations; until it does they succeed and do nothing.

#include <functional>

class CKVDeskModule {
public:
    static constexpr const char* kAppId = "{14107F49-A0DF-4567-A914-39450662DD57}";

    // Which instance keeps the automation name when two serve it: the one
    // that runs the engine takes it from a window-less one (-Embedding),
    // which yields it and waits in the name's queue.
    enum class eNameClaim { Take, Yield };

    struct ObjectMap {
        // Class objects for a local server, multiple use.
        std::function<bool(eNameClaim)> registerClassObjects;
        std::function<void()> revokeClassObjects;
        // The classes and the type library.
        std::function<bool()> registerServer;
        std::function<bool()> unregisterServer;
    };

    // Replaces the operations (empty ones do nothing and succeed).
    static void SetObjectMap(ObjectMap map);

    // HKCR\AppID\{AppID} = "KVDesk" and HKCR\AppID\KVDesk.EXE AppID =
    // {AppID}. False when a key cannot be written.
    static bool RegisterAppId();
    // Removes both keys; missing keys are no error.
    static bool UnregisterAppId();

    static bool RegisterClassObjects(eNameClaim claim);
    static void RevokeClassObjects();
    static bool RegisterServer();
    static bool UnregisterServer();
};
