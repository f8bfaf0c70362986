#pragma once
// The wizard's first step: fetch and save the server description, and list
// the components that are newer on the server.
#include "updater/UpdateContext.h"

namespace vt {

enum class CheckOutcome {
    Newer,
    UpToDate,
    ConnectionFailed,
    // Reading the body or writing the saved description broke off (see
    // BrokeOff), or that file could not be created: the status line stays at
    // "读取版本信息...", ctx.transferError tells why.
    TransferError,
    // Signed mode: the description is not trusted (its signature is missing
    // or does not verify, or a component lacks its sha256). Nothing is
    // listed, the server's mode is not taken, the status line says why.
    Refused,
};

// Shows its progress in the status line and the list; the step change and
// its button text are the wizard's. Sets ctx.serverMode from the server
// description (EffectiveServerMode). In signed mode the
// description is verified first and then read from the verified bytes
// (ctx.verifiedServer).
CheckOutcome CheckVersions(UpdateContext& ctx);

}  // namespace vt
