#pragma once
// What the wizard's steps share: the services they work through, the files
// they work on and the state that passes from one step to the next.
#include <memory>
#include <string>

#include "shared/core/FileSystem.h"
#include "shared/core/IniProfile.h"
#include "shared/core/Profile.h"
#include "shared/core/Shell.h"
#include "updater/Crypto.h"
#include "updater/HttpClient.h"
#include "updater/Processes.h"
#include "updater/ProgramKind.h"
#include "updater/PumpPacer.h"
#include "updater/UpdateModes.h"
#include "updater/UpdateView.h"
#include "updater/UrlParts.h"

namespace vt {

enum class WizardStep { Check = 0, Install = 1, Finish = 2 };

struct UpdatePaths {
    std::string appDir;     // ends in a path separator
    std::string tempDir;    // ends in a path separator; downloads go here
    std::string localIni;   // the local description
    std::string serverIni;  // where the server description is saved
    // The updater's own executable, full path; empty when unknown. A running
    // program cannot be copied over, so this one is installed differently.
    std::string selfExe;
};

// Directories end in their separator, so names are appended directly.
// On Windows, tempDir + "update.ini" is the same file as the system's
// temporary path + "\update.ini".
inline UpdatePaths MakeUpdatePaths(const std::string& appDir, const std::string& tempDir,
                                   const std::string& selfExe = "") {
    return UpdatePaths{appDir, tempDir, appDir + "Update.ini", tempDir + "update.ini", selfExe};
}

struct UpdateServices {
    IUpdateView& view;
    const ITextCodec& codec;
    IHttpClient& http;
    IFileSystem& files;
    IProcesses& processes;
    IShell& shell;
    IProfile& localIni;   // reads paths.localIni
    IProfile& serverIni;  // reads paths.serverIni, as it is at each read
    const ICrypto& crypto;
    // The publisher's key compiled into the program: with one the updater is
    // in signed mode and trusts only a server description signed with it;
    // null: it takes any description, as updaters without a key always did.
    const P256PublicKey* publisherKey = nullptr;
};

struct UpdateContext {
    UpdateContext(const UpdateServices& s, UpdatePaths p) : services(s), paths(std::move(p)) {}

    UpdateServices services;
    UpdatePaths paths;
    LocalMode localMode = LocalMode::ByUser;
    ServerMode serverMode = ServerMode::WaitForUser;  // effective (EffectiveServerMode)
    std::string object;                               // what IniUrl asks of the server
    // The server of IniUrl, which `connection` talks to; redirects are
    // resolved against it.
    UrlParts server;
    std::unique_ptr<IHttpConnection> connection;  // null when none could be made
    // The machine every downloaded program must be built for: the updater's
    // own, so that an installation never changes kind through an update.
    std::uint16_t programMachine = kOwnMachine;
    bool cancelRequested = false;  // set by a cancel that arrived during a download
    // When the transfers let the window's messages through.
    PumpPacer pacer;
    // Why the last transfer broke off (see BrokeOff), UTF-8; empty when unknown.
    std::string transferError;
    // Signed mode: the description bytes whose signature was verified, set by
    // the check; every later read of the server description goes to them.
    std::unique_ptr<MemoryProfile> verifiedServer;

    bool Signed() const { return services.publisherKey != nullptr; }
    // The server description the steps read. In signed mode that is only
    // ever the verified bytes (nothing at all before they exist), never the
    // file in the temporary directory, which anyone may change.
    const IProfile& Server() const;
};

// After a successful update the local description becomes the server's:
// in signed mode the verified bytes themselves, written beside the old file
// and put in its place in one step; otherwise a copy of the saved file.
bool ReplaceLocalDescription(UpdateContext& ctx);

}  // namespace vt
