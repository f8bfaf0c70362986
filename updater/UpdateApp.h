#pragma once
// The updater's application object: one copy at a time, Windows Sockets,
// and the wizard as the program's one window.
#include <windows.h>

#include "shared/win/Handles.h"
#include "updater/Crypto.h"

namespace vt {

class UpdateApp {
public:
    // publisherKey: the key descriptions must be signed with (signed mode);
    // null: descriptions are taken unsigned.
    explicit UpdateApp(const P256PublicKey* publisherKey) : m_pPublisherKey(publisherKey) {}
    ~UpdateApp();
    UpdateApp(const UpdateApp&) = delete;
    UpdateApp& operator=(const UpdateApp&) = delete;

    // Start-up and the wizard; returns the process exit code.
    int Run();

private:
    bool InitInstance();
    void RunWizard();

    const P256PublicKey* m_pPublisherKey;
    win::KernelHandle m_mutex;
    bool m_bSockets = false;
};

}  // namespace vt
