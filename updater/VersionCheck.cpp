#include "updater/VersionCheck.h"

#include <optional>

#include "shared/core/Text.h"
#include "shared/core/VersionRule.h"
#include "updater/Downloader.h"
#include "updater/SignedDescription.h"
#include "updater/UpdateDescription.h"
#include "updater/UpdateTexts.h"

namespace vt {

namespace {

CheckOutcome Refuse(UpdateContext& ctx, const char* status) {
    ctx.services.view.SetStatus(status);
    return CheckOutcome::Refused;
}

// Signed mode: the description's bytes are trusted only with a signature
// file beside them that verifies under the publisher's key, and only when
// every component names the digest of its file. What passes is kept in
// memory and is all that the later steps read. Nothing when the check may
// go on, otherwise its outcome.
std::optional<CheckOutcome> Verify(UpdateContext& ctx, std::string description) {
    std::string signature;
    FetchOptions options;
    options.keepBytes = &signature;
    options.maxBytes = kMaxDescriptionBytes;
    const FetchResult fetched =
        FetchToFile(ctx, ctx.object + kSignatureSuffix, ctx.paths.serverIni + kSignatureSuffix, options);
    if (BrokeOff(fetched) || fetched == FetchResult::NotCreatable) return CheckOutcome::TransferError;
    if (fetched != FetchResult::Ok || CheckSignature(ctx.services.crypto, *ctx.services.publisherKey, description,
                                                     signature) != SignatureCheck::Valid) {
        return Refuse(ctx, updtext::kStatusBadSignature);
    }
    auto verified = std::make_unique<MemoryProfile>(std::move(description));
    if (!EveryComponentHasDigest(*verified)) return Refuse(ctx, updtext::kStatusNoDigest);
    ctx.verifiedServer = std::move(verified);
    return std::nullopt;
}

}  // namespace

CheckOutcome CheckVersions(UpdateContext& ctx) {
    IUpdateView& view = ctx.services.view;
    view.SetStatus(updtext::kStatusConnecting);
    ctx.verifiedServer.reset();

    // A description that did not arrive whole is no description either: after
    // an update it would become the local file.
    // One longer than any real description is a server sending without end.
    std::string bytes;
    FetchOptions options;
    options.maxBytes = kMaxDescriptionBytes;
    if (ctx.Signed()) options.keepBytes = &bytes;
    const FetchResult fetched = FetchToFile(ctx, ctx.object, ctx.paths.serverIni, options);
    // The wizard closes as soon as the step returns.
    if (fetched == FetchResult::Cancelled) return CheckOutcome::ConnectionFailed;
    if (fetched != FetchResult::NotSent) view.SetStatus(updtext::kStatusReading);
    if (BrokeOff(fetched) || fetched == FetchResult::NotCreatable) return CheckOutcome::TransferError;
    if (fetched != FetchResult::Ok) {
        view.SetStatus(updtext::kStatusConnectFailed);
        return CheckOutcome::ConnectionFailed;
    }
    if (ctx.Signed()) {
        const std::optional<CheckOutcome> refused = Verify(ctx, std::move(bytes));
        if (refused) return *refused;
    }

    view.ClearList();
    const IProfile& server = ctx.Server();
    const IProfile& local = ctx.services.localIni;
    const int total = server.GetInt(kMainSection, "Total", 0);
    ctx.serverMode = EffectiveServerMode(ctx.localMode, ParseServerMode(server.GetInt(kMainSection, "ServerMode", 0)));

    bool anyNewer = false;
    const int count = ComponentScanCount(server, total);
    for (int i = 0; i < count; ++i) {
        const std::string section = ComponentSection(i);
        const std::string serverVersion = server.GetString(section, "version", "0.0");
        if (!IsNewerVersion(serverVersion, ReadLocalVersion(local, i))) continue;
        const Gbk title = ReadDescriptionText(server, section, "Title");
        const ITextCodec& codec = ctx.services.codec;
        view.AddListLine(
            Format(updtext::kFmtNewer, codec.GbkToUtf8(title).c_str(), codec.GbkToUtf8(Gbk(serverVersion)).c_str()));
        anyNewer = true;
    }

    if (anyNewer) {
        view.SetStatus(updtext::kStatusNewer);
        return CheckOutcome::Newer;
    }
    view.AddListLine(updtext::kUpToDate);
    view.SetStatus(updtext::kUpToDate);
    return CheckOutcome::UpToDate;
}

}  // namespace vt
