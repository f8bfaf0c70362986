#include "updater/Downloader.h"

#include <limits>
#include <memory>

namespace vt {

namespace {

constexpr std::uint64_t kMaxU64 = std::numeric_limits<std::uint64_t>::max();

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
    if (!ctx.connection) return FetchResult::NotSent;
    std::unique_ptr<IHttpRequest> request = ctx.connection->OpenGet(object);
    if (!request) return FetchResult::NotSent;
    const HttpResponseHead head = request->Send();
    if (!head.sent) return FetchResult::NotSent;
    if (head.statusCode < 200 || head.statusCode > 399) return FetchResult::BadStatus;

    // No Content-Length (or 0) means the length is unknown: the bar is left
    // where it is and the body runs to its end.
    const std::uint64_t expected = ParseContentLength(head.contentLength);

    std::unique_ptr<IFileWriter> file = ctx.services.files.Create(path);
    if (!file) return FetchResult::NotCreatable;

    std::unique_ptr<ISha256> digest;
    if (options.expectedDigest && !(digest = ctx.services.crypto.NewSha256())) return FetchResult::DigestMismatch;
    if (options.keepBytes) options.keepBytes->clear();
    char buffer[kTransferBlockSize];
    std::uint64_t received = 0;
    bool first = true;
    for (;;) {
        const long n = request->Read(buffer, sizeof buffer);
        if (n < 0) {
            ctx.transferError = request->ErrorText();
            return FetchResult::ReadFailed;
        }
        if (n == 0) break;
        const std::size_t size = static_cast<std::size_t>(n);
        if (first && LooksLikeErrorPage(buffer, size)) return FetchResult::ErrorPage;
        first = false;

        received += size;
        if (options.interactive) {
            if (expected > 0) ctx.services.view.SetProgress(ProgressPercent(received, expected));
            ctx.services.view.PumpMessages(kPumpAttemptsPerBlock);
            if (ctx.cancelRequested) return FetchResult::Cancelled;
        }
        if (!file->Write(buffer, size)) return FetchResult::WriteFailed;
        if (digest) digest->Update(buffer, size);
        if (options.keepBytes) options.keepBytes->append(buffer, size);
    }

    // A connection that drops mid-body ends the body early without an error:
    // only the announced length tells a cut file from a whole one.
    if (expected > 0 && received < expected) return FetchResult::ShortBody;
    if (digest) {
        Sha256Digest actual;
        if (!digest->Finish(actual) || actual != *options.expectedDigest) return FetchResult::DigestMismatch;
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
