#include "updater/DownloadAndReplace.h"

#include "shared/core/Text.h"
#include "shared/core/VersionRule.h"
#include "updater/Downloader.h"
#include "updater/FileNameRule.h"
#include "updater/ProcessFinder.h"
#include "updater/DigestText.h"
#include "updater/UpdateDescription.h"
#include "updater/UpdateTexts.h"

namespace vt {

namespace {

class WaitCursor {
public:
    explicit WaitCursor(IUpdateView& view) : m_view(view) { m_view.SetWaitCursor(true); }
    ~WaitCursor() { m_view.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    IUpdateView& m_view;
};

bool IsNewer(const UpdateContext& ctx, const ServerComponent& c, int index) {
    return IsNewerVersion(c.version, ReadLocalVersion(ctx.services.localIni, index));
}

// A file name that could leave the temporary or the application directory,
// one that would overwrite the saved server description both passes still
// read, or a digest that is not one, fails the download before anything is
// requested or written.
FetchResult Download(UpdateContext& ctx, const ServerComponent& c) {
    if (!IsPlainFileName(c.filename)) return FetchResult::NotCreatable;
    const std::string target = ctx.paths.tempDir + ctx.services.codec.GbkToUtf8(c.filename);
    if (SamePath(target, ctx.paths.serverIni)) return FetchResult::NotCreatable;
    Sha256Digest digest;
    const bool hasDigest = !c.sha256.empty();
    if (hasDigest && !ParseSha256Hex(c.sha256, digest)) return FetchResult::DigestMismatch;
    FetchOptions options;
    options.interactive = true;
    options.expectedDigest = hasDigest ? &digest : nullptr;
    return FetchToFile(ctx, c.uri, target, options);
}

// Windows will not copy over a running program but lets it be renamed, so
// the updater's own executable is moved aside before the new one is copied
// in, and moved back if that copy fails: the installation then stays as it
// was. The file moved aside is removed at the next start.
bool InstallFile(UpdateContext& ctx, const std::string& from, const std::string& to) {
    IFileSystem& files = ctx.services.files;
    if (ctx.paths.selfExe.empty() || !SamePath(to, ctx.paths.selfExe)) return files.Copy(from, to);
    const std::string aside = to + kSelfAsideSuffix;
    files.Remove(aside);  // may fail: a previous copy still ending; Replace then decides
    if (!files.Replace(to, aside)) return files.Copy(from, to);
    if (files.Copy(from, to)) return true;
    files.Replace(aside, to);
    return false;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
    const auto folded = [](char c) {
        if (c == '/') return '\\';
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

int ReplaceProgress(int replaced) {
    const int counter = replaced * 20;
    return counter >= 100 ? 90 : counter;
}

InstallOutcome DownloadAndReplace(UpdateContext& ctx) {
    IUpdateView& view = ctx.services.view;
    const ITextCodec& codec = ctx.services.codec;
    const IProfile& server = ctx.Server();
    WaitCursor wait(view);

    view.ClearList();
    const int count = ComponentScanCount(server, server.GetInt(kMainSection, "Total", 0));

    for (int i = 0; i < count; ++i) {
        const ServerComponent c = ReadServerComponent(server, i);
        if (!IsNewer(ctx, c, i)) continue;
        const std::string name = codec.GbkToUtf8(c.filename);
        view.SetStatus(Format(updtext::kFmtDownloading, name.c_str()));
        const FetchResult fetched = Download(ctx, c);
        if (ctx.cancelRequested) return InstallOutcome::Cancelled;
        if (BrokeOff(fetched)) return InstallOutcome::TransferError;
        if (fetched != FetchResult::Ok) {
            view.SetStatus(updtext::kStatusDownloadFailed);
            return InstallOutcome::Failed;
        }
        view.AddListLine(Format(updtext::kFmtDownloaded, name.c_str()));
    }

    view.ClearList();
    int replaced = 0;
    for (int i = 0; i < count; ++i) {
        const ServerComponent c = ReadServerComponent(server, i);
        if (!IsNewer(ctx, c, i)) continue;
        const std::string name = codec.GbkToUtf8(c.filename);
        const std::string title = codec.GbkToUtf8(c.title);

        if (!c.needclose.empty()) {
            const std::uint32_t pid = FindProcessByName(ctx.services.processes, c.needclose);
            if (pid != 0) {
                if (ctx.serverMode != 2 &&
                    !view.AskOkCancel(Format(updtext::kFmtAskEnd, name.c_str()), updtext::kCaption)) {
                    return InstallOutcome::Refused;
                }
                if (ctx.services.processes.Terminate(pid)) {
                    ctx.services.processes.Sleep(kWaitAfterTerminateMs);
                }
            }
        }

        if (!IsPlainFileName(c.filename) ||
            !InstallFile(ctx, ctx.paths.tempDir + name, ctx.paths.appDir + name)) {
            view.AddListLine(Format(updtext::kFmtCopyFailed, title.c_str()));
            view.SetStatus(updtext::kStatusCopyFailed);
            return InstallOutcome::Failed;
        }
        ++replaced;
        view.SetProgress(ReplaceProgress(replaced));
        view.AddListLine(Format(updtext::kFmtReplaced, title.c_str()));
    }

    // Last, so that a failure above leaves the old versions on record and the
    // next check offers the same components again.
    if (!ReplaceLocalDescription(ctx)) {
        view.AddListLine(Format(updtext::kFmtCopyFailed, updtext::kLocalIniName));
        view.SetStatus(updtext::kStatusCopyFailed);
        return InstallOutcome::Failed;
    }
    view.SetStatus(updtext::kStatusUpdated);
    return InstallOutcome::Updated;
}

}  // namespace vt
