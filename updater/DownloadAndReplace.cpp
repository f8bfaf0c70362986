#include "updater/DownloadAndReplace.h"

#include <vector>

#include "shared/core/Text.h"
#include "shared/core/VersionRule.h"
#include "updater/DigestText.h"
#include "updater/Downloader.h"
#include "updater/FileNameRule.h"
#include "updater/ProcessFinder.h"
#include "updater/ProgramKind.h"
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
// requested or written. A program file must be of the updater's own kind.
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
    if (IsProgramFileName(c.filename)) options.programMachine = ctx.programMachine;
    return FetchToFile(ctx, c.uri, target, options);
}

// One installed file the replacement pass has changed, and how to undo it.
struct ReplacedFile {
    std::string title;   // UTF-8, for the list
    std::string target;  // the installed file
    // Where the file before the update is kept; empty when there was none
    // (the component is new): undoing then removes the target.
    std::string kept;
};

// Puts the kept file back in place of the target, by renaming it where the
// system allows (one step, nothing left half written), else by copying.
bool PutBack(IFileSystem& files, const ReplacedFile& r) {
    if (r.kept.empty()) return files.Remove(r.target) || !files.Exists(r.target);
    if (files.Replace(r.kept, r.target)) return true;
    if (!files.Copy(r.kept, r.target)) return false;
    files.Remove(r.kept);
    return true;
}

// Copies a download over the installed file, keeping the installed one
// first. Windows will not copy over a running program but lets it be
// renamed, so the updater's own executable is moved aside instead (the file
// moved aside is removed at the next start). False when nothing was
// replaced; the installed file is then as it was.
bool InstallFile(UpdateContext& ctx, const std::string& from, ReplacedFile& r) {
    IFileSystem& files = ctx.services.files;
    const std::string& to = r.target;
    if (!ctx.paths.selfExe.empty() && SamePath(to, ctx.paths.selfExe)) {
        const std::string aside = to + kSelfAsideSuffix;
        files.Remove(aside);  // may fail: a previous copy still ending; Replace then decides
        if (files.Replace(to, aside)) {
            r.kept = aside;
            if (files.Copy(from, to)) return true;
            files.Replace(aside, to);
            return false;
        }
    }
    if (files.Exists(to)) {
        r.kept = to + kKeptCopySuffix;
        if (!files.Copy(to, r.kept)) {
            files.Remove(r.kept);
            return false;
        }
    }
    if (files.Copy(from, to)) return true;
    // A copy that broke off may have left the target half written.
    if (!PutBack(files, r) && !r.kept.empty()) files.Remove(r.kept);
    return false;
}

// Undoes the files replaced so far in this run, the last first, and says
// so in the list.
void RollBack(UpdateContext& ctx, const std::vector<ReplacedFile>& replaced) {
    for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
        const bool ok = PutBack(ctx.services.files, *it);
        ctx.services.view.AddListLine(
            Format(ok ? updtext::kFmtRestored : updtext::kFmtRestoreFailed, it->title.c_str()));
    }
}

// The kept copies once they are no longer needed. The updater's own file
// moved aside is still running; its next start removes it.
void RemoveKeptCopies(UpdateContext& ctx, const std::vector<ReplacedFile>& replaced) {
    for (const ReplacedFile& r : replaced)
        if (!r.kept.empty() && !(ctx.paths.selfExe.size() && SamePath(r.target, ctx.paths.selfExe)))
            ctx.services.files.Remove(r.kept);
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
        if (fetched == FetchResult::WrongProgram) {
            view.SetStatus(Format(updtext::kFmtWrongProgram, name.c_str(), MachineName(ctx.programMachine)));
            return InstallOutcome::Failed;
        }
        if (fetched != FetchResult::Ok) {
            view.SetStatus(updtext::kStatusDownloadFailed);
            return InstallOutcome::Failed;
        }
        view.AddListLine(Format(updtext::kFmtDownloaded, name.c_str()));
    }

    view.ClearList();
    std::vector<ReplacedFile> replaced;
    for (int i = 0; i < count; ++i) {
        const ServerComponent c = ReadServerComponent(server, i);
        if (!IsNewer(ctx, c, i)) continue;
        const std::string name = codec.GbkToUtf8(c.filename);
        const std::string title = codec.GbkToUtf8(c.title);

        if (!c.needclose.empty()) {
            const std::uint32_t pid = FindProcessByName(ctx.services.processes, c.needclose);
            if (pid != 0) {
                if (ctx.serverMode != ServerMode::Unattended &&
                    !view.AskOkCancel(Format(updtext::kFmtAskEnd, name.c_str()), updtext::kCaption)) {
                    // What was replaced stays: the old description keeps
                    // those components on offer for the next check.
                    RemoveKeptCopies(ctx, replaced);
                    return InstallOutcome::Refused;
                }
                EndProgram(ctx.services.processes, pid, [&view] { view.PumpMessages(kPumpAttempts); });
            }
        }

        ReplacedFile r{title, ctx.paths.appDir + name, ""};
        if (!IsPlainFileName(c.filename) || !InstallFile(ctx, ctx.paths.tempDir + name, r)) {
            view.AddListLine(Format(updtext::kFmtCopyFailed, title.c_str()));
            // A mix of old and new files may not even start: the
            // installation goes back to what it was before this run.
            RollBack(ctx, replaced);
            view.SetStatus(updtext::kStatusCopyFailed);
            return InstallOutcome::Failed;
        }
        replaced.push_back(r);
        view.SetProgress(ReplaceProgress(static_cast<int>(replaced.size())));
        view.AddListLine(Format(updtext::kFmtReplaced, title.c_str()));
    }

    // Last, so that a failure above leaves the old versions on record and the
    // next check offers the same components again. The files replaced are a
    // complete new set and stay.
    const bool described = ReplaceLocalDescription(ctx);
    RemoveKeptCopies(ctx, replaced);
    if (!described) {
        view.AddListLine(Format(updtext::kFmtCopyFailed, updtext::kLocalIniName));
        view.SetStatus(updtext::kStatusCopyFailed);
        return InstallOutcome::Failed;
    }
    view.SetStatus(updtext::kStatusUpdated);
    return InstallOutcome::Updated;
}

}  // namespace vt
