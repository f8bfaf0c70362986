#include "updater/VersionCheck.h"

#include "shared/core/Text.h"
#include "shared/core/VersionRule.h"
#include "updater/Downloader.h"
#include "updater/UpdateDescription.h"
#include "updater/UpdateTexts.h"

namespace vt {

CheckOutcome CheckVersions(UpdateContext& ctx) {
    IUpdateView& view = ctx.services.view;
    view.SetStatus(updtext::kStatusConnecting);

    // A description that did not arrive whole is no description either: after
    // an update it would become the local file.
    const FetchResult fetched =
        FetchToFile(ctx, ctx.object, ctx.paths.serverIni, FetchOptions{});
    if (fetched != FetchResult::NotSent) view.SetStatus(updtext::kStatusReading);
    if (BrokeOff(fetched) || fetched == FetchResult::NotCreatable) return CheckOutcome::TransferError;
    if (fetched != FetchResult::Ok) {
        view.SetStatus(updtext::kStatusConnectFailed);
        return CheckOutcome::ConnectionFailed;
    }

    view.ClearList();
    const IProfile& server = ctx.services.serverIni;
    const IProfile& local = ctx.services.localIni;
    const int total = server.GetInt(kMainSection, "Total", 0);
    ctx.serverMode = server.GetInt(kMainSection, "ServerMode", 0);
    if (ctx.localMode == 0) ctx.serverMode = 0;

    bool anyNewer = false;
    const int count = ComponentScanCount(server, total);
    for (int i = 0; i < count; ++i) {
        const std::string section = ComponentSection(i);
        const std::string serverVersion = server.GetString(section, "version", "0.0");
        if (!IsNewerVersion(serverVersion, ReadLocalVersion(local, i))) continue;
        const Gbk title = ReadDescriptionText(server, section, "Title");
        const ITextCodec& codec = ctx.services.codec;
        view.AddListLine(Format(updtext::kFmtNewer, codec.GbkToUtf8(title).c_str(),
                                codec.GbkToUtf8(Gbk(serverVersion)).c_str()));
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
