#include "updater/Downloader.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "updater/ProgramKind.h"
#include "updater/Redirect.h"

namespace vt {

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();

// A sent request whose answer is not a redirect, and the connection it went
// out on when that is not the wizard's own (declared first: it must outlive
// its request).
struct OpenedRequest {
    std::unique_ptr<IHttpConnection> ownConnection;
    std::unique_ptr<IHttpRequest> request;
    HttpResponseHead head;
};

// Pumps the window's messages while a request waits, and gives the wait up
// once the user has cancelled.
HttpWaitHandler PumpingWait(UpdateContext& ctx) {
    return [&ctx] {
        ctx.services.view.PumpMessages(kPumpAttemptsPerBlock);
        return !ctx.cancelRequested;
    };
}

// Sends the request for object and follows redirects, each on the wizard's
// connection when it goes to the same server, else on a connection of its
// own. Ok, or why no answer came.
FetchResult OpenFollowingRedirects(UpdateContext& ctx, const std::string& object, OpenedRequest& out) {
    IHttpConnection* connection = ctx.connection.get();
    UrlParts where = ctx.server;
    where.object = object;
    for (int followed = 0;; ++followed) {
        if (!connection) return FetchResult::NotSent;
        out.request = connection->OpenGet(where.object);
        if (!out.request) return FetchResult::NotSent;
        out.request->SetWaitHandler(PumpingWait(ctx));
        out.head = out.request->Send();
        if (ctx.cancelRequested) return FetchResult::Cancelled;
        if (!out.head.sent) return FetchResult::NotSent;
        if (!IsRedirectStatus(out.head.statusCode) || out.head.location.empty()) return FetchResult::Ok;

        UrlParts next;
        if (!ResolveRedirect(where, out.head.location, next) || !MayFollowRedirect(where, next, followed))
            return FetchResult::BadRedirect;
        out.request.reset();
        if (SameServer(next, ctx.server) && ctx.connection) {
            connection = ctx.connection.get();
        } else if (out.ownConnection && SameServer(next, where)) {
            connection = out.ownConnection.get();
        } else {
            out.ownConnection = ctx.services.http.Connect(next.host, next.port, next.secure);
            connection = out.ownConnection.get();
        }
        where = next;
    }
}

}  // namespace

std::uint64_t ParseContentLength(const std::string& header) {
    std::size_t i = 0;
    while (i < header.size() && (header[i] == ' ' || header[i] == '\t')) ++i;
    std::uint64_t value = 0;
    for (; i < header.size() && header[i] >= '0' && header[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(header[i] - '0');
        if (value > (kMaxU64 - digit) / 10) return kMaxU64;
        value = value * 10 + digit;
    }
    return value;
}

int ProgressPercent(std::uint64_t received, std::uint64_t expected) {
    if (received >= expected) return 100;
    if (received <= kMaxU64 / 100) return static_cast<int>(received * 100 / expected);
    // Only for sizes beyond 10^17 bytes; here expected / 100 loses nothing
    // visible, and received < expected keeps the result below 100.
    const std::uint64_t percent = received / (expected / 100);
    return percent > 99 ? 99 : static_cast<int>(percent);
}

bool LooksLikeErrorPage(const char* data, std::size_t size) {
    static const char kTag[] = "<html";
    if (size < 5) return false;
    for (std::size_t i = 0; i < 5; ++i) {
        char c = data[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kTag[i]) return false;
    }
    return true;
}

FetchResult FetchToFile(UpdateContext& ctx, const std::string& object, const std::string& path,
                        const FetchOptions& options) {
    ctx.transferError.clear();
    OpenedRequest opened;
    const FetchResult sent = OpenFollowingRedirects(ctx, object, opened);
    if (sent != FetchResult::Ok) return sent;
    IHttpRequest& request = *opened.request;
    const HttpResponseHead& head = opened.head;
    if (head.statusCode < 200 || head.statusCode > 399) return FetchResult::BadStatus;

    // No Content-Length (or 0) means the length is unknown: the bar is left
    // where it is and the body runs to its end.
    const std::uint64_t expected = ParseContentLength(head.contentLength);
    if (options.maxBytes && expected > options.maxBytes) return FetchResult::TooLarge;

    std::unique_ptr<IFileWriter> file = ctx.services.files.Create(path);
    if (!file) return FetchResult::NotCreatable;

    std::unique_ptr<ISha256> digest;
    if (options.expectedDigest && !(digest = ctx.services.crypto.NewSha256())) return FetchResult::DigestMismatch;
    if (options.keepBytes) options.keepBytes->clear();
    // The headers that tell a program's kind are in its first bytes.
    std::string programHead;
    char buffer[kTransferBlockSize];
    std::uint64_t received = 0;
    bool first = true;
    for (;;) {
        const long n = request.Read(buffer, sizeof buffer);
        if (ctx.cancelRequested) return FetchResult::Cancelled;
        if (n < 0) {
            ctx.transferError = request.ErrorText();
            return FetchResult::ReadFailed;
        }
        if (n == 0) break;
        const std::size_t size = static_cast<std::size_t>(n);
        if (first && LooksLikeErrorPage(buffer, size)) return FetchResult::ErrorPage;
        first = false;

        received += size;
        // An endless body is cut off here, before it fills the disk.
        if (options.maxBytes && received > options.maxBytes) return FetchResult::TooLarge;
        if (options.interactive && expected > 0) ctx.services.view.SetProgress(ProgressPercent(received, expected));
        ctx.services.view.PumpMessages(kPumpAttemptsPerBlock);
        if (ctx.cancelRequested) return FetchResult::Cancelled;
        if (!file->Write(buffer, size)) return FetchResult::WriteFailed;
        if (digest) digest->Update(buffer, size);
        if (options.keepBytes) options.keepBytes->append(buffer, size);
        if (options.programMachine && programHead.size() < kProgramHeadBytes)
            programHead.append(buffer, std::min(size, kProgramHeadBytes - programHead.size()));
    }

    // A connection that drops mid-body ends the body early without an error:
    // only the announced length tells a cut file from a whole one.
    if (expected > 0 && received < expected) return FetchResult::ShortBody;
    if (digest) {
        Sha256Digest actual;
        if (!digest->Finish(actual) || actual != *options.expectedDigest) return FetchResult::DigestMismatch;
    }
    if (options.programMachine) {
        const auto* head = reinterpret_cast<const unsigned char*>(programHead.data());
        if (ReadProgramMachine(head, programHead.size()) != options.programMachine) return FetchResult::WrongProgram;
    }
    if (!file->Close()) return FetchResult::WriteFailed;
    return FetchResult::Ok;
}

bool DownloadFile(UpdateContext& ctx, const std::string& object, const std::string& path,
                  const Sha256Digest* expectedDigest) {
    FetchOptions options;
    options.interactive = true;
    options.expectedDigest = expectedDigest;
    return FetchToFile(ctx, object, path, options) == FetchResult::Ok;
}

}  // namespace vt
