#include "updater/Downloader.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "updater/ProgramKind.h"
#include "updater/Redirect.h"

namespace vt {

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();
// How many of the body's first bytes the error page test looks at.
constexpr std::size_t kErrorPageTestBytes = 5;

// A sent request whose answer is not a redirect, and the connection it went
// out on when that is not the wizard's own (declared first: it must outlive
// its request).
struct OpenedRequest {
    std::unique_ptr<IHttpConnection> ownConnection;
    std::unique_ptr<IHttpRequest> request;
    HttpResponseHead head;
};

void PumpIfDue(UpdateContext& ctx) {
    if (ctx.pacer.Due()) ctx.services.view.PumpMessages(kPumpAttempts);
}

// Pumps the window's messages while a request waits, and gives the wait up
// once the user has cancelled.
HttpWaitHandler PumpingWait(UpdateContext& ctx) {
    return [&ctx] {
        PumpIfDue(ctx);
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
    ctx.pacer.Restart();
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
    auto store = [&](const char* data, std::size_t size) {
        if (!file->Write(data, size)) return false;
        if (digest) digest->Update(data, size);
        if (options.keepBytes) options.keepBytes->append(data, size);
        if (options.programMachine && programHead.size() < kProgramHeadBytes)
            programHead.append(data, std::min(size, kProgramHeadBytes - programHead.size()));
        return true;
    };
    // The body's first bytes, held back until the error page test has seen
    // enough of them; tested: they were, and went on to the file.
    std::string firstBytes;
    bool tested = false;
    std::vector<char> buffer(kTransferBlockSize);
    std::uint64_t received = 0;
    int shown = -1;
    for (;;) {
        const long n = request.Read(buffer.data(), buffer.size());
        if (ctx.cancelRequested) return FetchResult::Cancelled;
        if (n < 0) {
            ctx.transferError = request.ErrorText();
            return FetchResult::ReadFailed;
        }
        if (n == 0) break;
        const std::size_t size = static_cast<std::size_t>(n);

        received += size;
        // An endless body is cut off here, before it fills the disk.
        if (options.maxBytes && received > options.maxBytes) return FetchResult::TooLarge;
        if (options.interactive && expected > 0) {
            const int percent = ProgressPercent(received, expected);
            if (percent != shown) ctx.services.view.SetProgress(shown = percent);
        }
        PumpIfDue(ctx);
        if (ctx.cancelRequested) return FetchResult::Cancelled;
        if (tested) {
            if (!store(buffer.data(), size)) return FetchResult::WriteFailed;
            continue;
        }
        firstBytes.append(buffer.data(), size);
        if (firstBytes.size() < kErrorPageTestBytes) continue;
        if (LooksLikeErrorPage(firstBytes.data(), firstBytes.size())) return FetchResult::ErrorPage;
        tested = true;
        if (!store(firstBytes.data(), firstBytes.size())) return FetchResult::WriteFailed;
    }
    // A body shorter than the test: too short to be an error page.
    if (!tested && !firstBytes.empty() && !store(firstBytes.data(), firstBytes.size())) return FetchResult::WriteFailed;

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
