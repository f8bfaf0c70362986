#pragma once
// Stand-ins for the updater's window, network, processes and shell, and a
// fixture with a real application and temporary directory on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shared/core/IniProfile.h"
#include "shared/core/StdFileSystem.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/support/P256Vectors.h"
#include "tests/support/ProgramImage.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDir.h"
#include "updater/DigestText.h"
#include "updater/OpenSslCrypto.h"
#include "updater/ProgramKind.h"
#include "updater/UpdateWizard.h"
#include "updater/UrlParts.h"

namespace vt::test {

// Descriptions in the tests are ASCII or already UTF-8.
class IdentityCodec : public ITextCodec {
public:
    std::string GbkToUtf8(const Gbk& text) const override { return text.Bytes(); }
};

struct FakeResponse {
    bool sent = true;
    int status = 200;
    std::string body;
    // Content-Length as sent; unset: the body's size.
    std::optional<std::string> contentLength;
    // The transfer fails once this many bytes have been delivered.
    long failAfter = -1;
    // The most one read delivers, as a slow server's do; 0: all it can.
    std::size_t maxPerRead = 0;
    std::string errorText;  // what the failed transfer says about itself
    std::string location;   // the Location header
};

class FakeHttp : public IHttpClient {
public:
    std::unique_ptr<IHttpConnection> Connect(const std::string& host, int port, bool secure) override {
        connects.push_back(host + ":" + std::to_string(port) + (secure ? ":tls" : ""));
        if (refuseConnect) return nullptr;
        return std::make_unique<Connection>(*this);
    }

    std::map<std::string, FakeResponse> responses;  // by object
    // Called at every read of a body, before it delivers (a test's clock
    // moves on here, as the network takes its time).
    std::function<void()> onRead;
    std::vector<std::string> connects;
    std::vector<std::string> requested;
    bool refuseConnect = false;

private:
    class Request : public IHttpRequest {
    public:
        Request(FakeResponse r, const FakeHttp& http) : m_response(std::move(r)), m_http(http) {}
        HttpResponseHead Send() override {
            HttpResponseHead head;
            head.sent = m_response.sent;
            head.statusCode = m_response.status;
            head.contentLength = m_response.contentLength.value_or(std::to_string(m_response.body.size()));
            head.location = m_response.location;
            return head;
        }
        long Read(void* buffer, std::size_t capacity) override {
            if (m_http.onRead) m_http.onRead();
            if (m_response.failAfter >= 0 && static_cast<long>(m_nPos) >= m_response.failAfter) return -1;
            if (m_response.maxPerRead) capacity = std::min(capacity, m_response.maxPerRead);
            std::size_t n = std::min(capacity, m_response.body.size() - m_nPos);
            std::copy_n(m_response.body.data() + m_nPos, n, static_cast<char*>(buffer));
            m_nPos += n;
            return static_cast<long>(n);
        }
        std::string ErrorText() const override { return m_response.errorText; }

    private:
        FakeResponse m_response;
        const FakeHttp& m_http;
        std::size_t m_nPos = 0;
    };

    class Connection : public IHttpConnection {
    public:
        explicit Connection(FakeHttp& http) : m_http(http) {}
        std::unique_ptr<IHttpRequest> OpenGet(const std::string& object) override {
            m_http.requested.push_back(object);
            auto it = m_http.responses.find(object);
            FakeResponse r;
            if (it != m_http.responses.end()) {
                r = it->second;
            } else {
                r.status = 404;
                r.body = "missing";
            }
            return std::make_unique<Request>(r, m_http);
        }

    private:
        FakeHttp& m_http;
    };
};

class FakeProcesses : public IProcesses {
public:
    std::vector<ProcessEntry> List() override { return running; }
    bool HasWindowTitled(std::uint32_t pid, const std::string& title) override {
        return windowTitles.count(pid) && windowTitles[pid] == title;
    }
    void SendCommand(std::uint32_t pid, const std::string& title, int command) override {
        log.push_back("command " + std::to_string(pid) + " " + title + " " + std::to_string(command));
        Asked(pid);
    }
    void PostClose(std::uint32_t pid) override {
        log.push_back("close " + std::to_string(pid));
        Asked(pid);
    }
    bool WaitExit(std::uint32_t pid, unsigned ms) override {
        waited.push_back(ms);
        if (!endsAfterWaits.count(pid) || endsAfterWaits[pid] < 0) return false;
        if (endsAfterWaits[pid] > 0) {
            --endsAfterWaits[pid];
            return false;
        }
        Gone(pid);
        return true;
    }
    bool Terminate(std::uint32_t pid) override {
        terminated.push_back(pid);
        return canOpen;
    }
    void Sleep(unsigned ms) override { sleeps.push_back(ms); }

    std::vector<ProcessEntry> running;
    bool canOpen = true;
    // By process: its top-level window's title.
    std::map<std::uint32_t, std::string> windowTitles;
    // By process: once asked to end, how many waits pass before it has
    // ended (absent: it never ends by itself).
    std::map<std::uint32_t, int> endsWhenAsked;
    std::function<void(std::uint32_t)> onGone;  // the process has ended
    std::vector<std::string> log;
    std::vector<unsigned> waited;
    std::vector<std::uint32_t> terminated;
    std::vector<unsigned> sleeps;

private:
    std::map<std::uint32_t, int> endsAfterWaits;
    void Asked(std::uint32_t pid) {
        if (endsWhenAsked.count(pid)) endsAfterWaits[pid] = endsWhenAsked[pid];
    }
    void Gone(std::uint32_t pid) {
        running.erase(
            std::remove_if(running.begin(), running.end(), [pid](const ProcessEntry& e) { return e.pid == pid; }),
            running.end());
        if (onGone) onGone(pid);
    }
};

// The real file system, with copies to chosen targets made to fail, and
// files that behave like running programs on Windows: they cannot be copied
// over or removed, but they can be renamed (and stay running under the new
// name).
class FlakyFileSystem : public StdFileSystem {
public:
    bool Copy(const std::string& from, const std::string& to) override {
        copies.push_back(to);
        if (failCopyTo.count(to) || running.count(to)) return false;
        return StdFileSystem::Copy(from, to);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        if (running.count(to) || !StdFileSystem::Replace(from, to)) return false;
        if (running.erase(from)) running.insert(to);
        return true;
    }
    bool Remove(const std::string& path) override { return !running.count(path) && StdFileSystem::Remove(path); }
    std::unique_ptr<IFileWriter> Create(const std::string& path) override {
        created.push_back(path);
        return StdFileSystem::Create(path);
    }
    std::set<std::string> failCopyTo;
    std::set<std::string> running;
    std::vector<std::string> copies;
    std::vector<std::string> created;
};

struct Component {
    Component(std::string t, std::string v, std::string f, std::string n = "", std::string s = "")
        : title(std::move(t)),
          version(std::move(v)),
          filename(std::move(f)),
          needclose(std::move(n)),
          sha256(std::move(s)) {}
    std::string title;
    std::string version;
    std::string filename;
    std::string needclose;
    std::string sha256;
};

// The parts of an address the updater takes; one it refuses fails the test.
inline UrlParts ParsedUrl(const std::string& url) {
    UrlParts parts;
    EXPECT_TRUE(ParseUpdateUrl(url, parts)) << url;
    return parts;
}

// SHA-256 of bytes, on the same library the tests' updater hashes with.
inline Sha256Digest DigestOf(const std::string& bytes) { return DigestWith(OpenSslCrypto(), bytes); }

// What the server holds for a component: "new <filename>", behind the
// headers of a program of the updater's own kind when the name is a
// program's.
inline std::string NewFile(const std::string& filename) {
    const std::string body = "new " + filename;
    return IsProgramFileName(Gbk(filename)) ? ProgramImage(kOwnMachine, body) : body;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class UpdaterTest : public TempDirTest {
protected:
    static constexpr const char* kIniUrl = "http://update.example.com/soft/update.ini";
    static constexpr const char* kIniObject = "/soft/update.ini";

    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directories(m_dir + "app");
        std::filesystem::create_directories(m_dir + "tmp");
        paths = MakeUpdatePaths(m_dir + "app/", m_dir + "tmp/");
        localIni = std::make_unique<IniProfile>(paths.localIni);
        serverIni = std::make_unique<IniProfile>(paths.serverIni);
    }

    // Local description: which components are installed.
    void WriteLocal(int localMode, const std::vector<Component>& installed, const std::string& iniUrl = kIniUrl) {
        std::vector<std::pair<std::string, std::string>> titles;
        for (const Component& c : installed) titles.push_back({c.title, c.version});
        WriteText(paths.localIni, LocalDescription(iniUrl, localMode, titles));
        for (const Component& c : installed) WriteText(paths.appDir + c.filename, "old " + c.filename);
    }

    // Server description, served at kIniObject; every component's file is
    // served at "/files/<filename>" with the body NewFile(<filename>).
    std::string ServeServer(int serverMode, const std::vector<Component>& offered, const std::string& mainExtra = "",
                            int total = -1) {
        Description description;
        description.Main("IniUrl", kIniUrl).Main("ServerMode", serverMode);
        if (total >= 0)
            description.Main("Total", total);
        else
            description.Total();
        for (const Component& c : offered) {
            description.File(c.title, c.version).Download(c.filename);
            if (!c.needclose.empty()) description.Key("needclose", c.needclose);
            if (!c.sha256.empty()) description.Key("sha256", c.sha256);
            FakeResponse file;
            file.body = NewFile(c.filename);
            http.responses["/files/" + c.filename] = file;
        }
        // mainExtra: whole lines of [Main], after Total.
        std::string text = description.Text();
        text.insert(text.find("[File") == std::string::npos ? text.size() : text.find("[File"), mainExtra);
        FakeResponse ini;
        ini.body = text;
        http.responses[kIniObject] = ini;
        return text;
    }

    UpdateServices Services() {
        return UpdateServices{view, codec, http, files, processes, shell, *localIni, *serverIni, crypto, publisherKey};
    }
    std::unique_ptr<UpdateWizard> MakeWizard() { return std::make_unique<UpdateWizard>(Services(), paths); }
    // A context as the wizard has it after a successful start.
    std::unique_ptr<UpdateContext> MakeContext(int localMode = 0) {
        auto ctx = std::make_unique<UpdateContext>(Services(), paths);
        ctx->localMode = ParseLocalMode(localMode);
        ctx->object = kIniObject;
        ctx->connection = http.Connect("update.example.com", 80, false);
        return ctx;
    }

    std::string AppFile(const std::string& name) { return ReadText(paths.appDir + name); }

    UpdatePaths paths;
    RecordingView view;
    IdentityCodec codec;
    FakeHttp http;
    FlakyFileSystem files;
    FakeProcesses processes;
    RecordingShell shell;
    OpenSslCrypto crypto;
    const P256PublicKey* publisherKey = nullptr;  // set: signed mode
    std::unique_ptr<IniProfile> localIni;
    std::unique_ptr<IniProfile> serverIni;
};

}  // namespace vt::test
