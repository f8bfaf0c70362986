#pragma once
// Fetching one object from the update server into a file.
#include <cstdint>
#include <string>

#include "updater/Crypto.h"
#include "updater/UpdateContext.h"

namespace vt {

// The most a transfer takes from the network in one read; a read returns
// what has arrived, so a slow server gives shorter blocks.
constexpr std::size_t kTransferBlockSize = 64 * 1024;
// The longest server description (and signature file) the check takes.
constexpr std::uint64_t kMaxDescriptionBytes = 1024 * 1024;

enum class FetchResult {
    Ok,
    NotSent,         // no connection, request not opened or not sent
    BadStatus,       // outside 200..399
    NotCreatable,    // the local file could not be created
    ErrorPage,       // the body begins with "<html" in any letter case
    ReadFailed,      // the transfer broke off with an error
    WriteFailed,     // a write or the final flush of the local file failed
    ShortBody,       // fewer bytes than Content-Length announced
    DigestMismatch,  // SHA-256 of the body differs from the expected one
    Cancelled,       // the user cancelled while messages were pumped
    TooLarge,        // the body is longer than FetchOptions::maxBytes
    BadRedirect,     // a redirect that may not be followed (Redirect.h), or one to nowhere
    WrongProgram,    // not a program of FetchOptions::programMachine (ProgramKind.h)
};

// The transfer broke off (the connection while reading, or the disk while
// writing) rather than the server sending something that is no file. The
// wizard reports such an error in a message box and stays at its step, so
// that another press repeats the step's work.
inline bool BrokeOff(FetchResult result) {
    return result == FetchResult::ReadFailed || result == FetchResult::WriteFailed;
}

struct FetchOptions {
    // Download: set the progress bar as the blocks arrive. Every transfer
    // pumps the window's messages as ctx.pacer says, between blocks and
    // while it waits for the network, so that the window stays live and
    // "取消" is heard.
    bool interactive = false;
    // Longer bodies fail; 0: no limit.
    std::uint64_t maxBytes = 0;
    const Sha256Digest* expectedDigest = nullptr;
    // Nonzero: the body must be a program image for this machine, as its
    // headers say (ReadProgramMachine); checked after the digest.
    std::uint16_t programMachine = 0;
    // Also keep the body here, byte for byte as written (the server
    // description, whose bytes are verified and read from memory).
    std::string* keepBytes = nullptr;
};

// Streams the body of object to path in blocks of what has arrived, up to
// kTransferBlockSize, following the redirects that Redirect.h allows. The
// body's first five bytes are tested ("<html") before anything is written,
// however few each block brings. Nothing but Ok leaves a complete
// file: the writer is closed only on success. Sets
// ctx.transferError to the platform's description of a read error (empty
// for every other result).
FetchResult FetchToFile(UpdateContext& ctx, const std::string& object, const std::string& path,
                        const FetchOptions& options);

// A component download: true when the whole body was stored (and matched
// expectedDigest when one is given).
bool DownloadFile(UpdateContext& ctx, const std::string& object, const std::string& path,
                  const Sha256Digest* expectedDigest = nullptr);

// The leading decimal digits of a Content-Length header (blanks skipped);
// 0 when there are none. Saturates instead of overflowing.
std::uint64_t ParseContentLength(const std::string& header);

// received * 100 / expected in integer division, for any sizes, at most 100.
// expected must not be 0.
int ProgressPercent(std::uint64_t received, std::uint64_t expected);

// True when the first five bytes are "<html" in any letter case.
bool LooksLikeErrorPage(const char* data, std::size_t size);

}  // namespace vt
