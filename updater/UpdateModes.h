#pragma once
// How the updater was started (LocalMode of the local description) and how
// far an automatic start goes without the user (ServerMode of the server's),
// read from the integers the descriptions store.

namespace vt {

enum class LocalMode {
    ByUser,     // 0: started at the user's request
    Automatic,  // 1: started by the assistant's schedule; the check runs at once
    // Any other number: nothing starts by itself, yet the server's mode is
    // not ignored either, since only 0 says the user started the updater.
    Unlisted,
};

enum class ServerMode {
    WaitForUser,        // 0 (and any number it does not name): the user decides every step
    CloseWhenUpToDate,  // 1: up to date, the wizard closes by itself
    Unattended,         // 2: also installs at once, ends running programs unasked and finishes by itself
};

inline LocalMode ParseLocalMode(int stored) {
    if (stored == 0) return LocalMode::ByUser;
    if (stored == 1) return LocalMode::Automatic;
    return LocalMode::Unlisted;
}

inline ServerMode ParseServerMode(int stored) {
    if (stored == 1) return ServerMode::CloseWhenUpToDate;
    if (stored == 2) return ServerMode::Unattended;
    return ServerMode::WaitForUser;
}

// The server's mode as it counts: an updater the user started waits for the
// user whatever the server says.
inline ServerMode EffectiveServerMode(LocalMode local, ServerMode server) {
    return local == LocalMode::ByUser ? ServerMode::WaitForUser : server;
}

}  // namespace vt
