// The release tool's description, read back the way the updater reads a
// server description: what the tool writes must be what the updater sees.
#include <gtest/gtest.h>

#include <openssl/bio.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shared/core/IniProfile.h"
#include "shared/core/VersionRule.h"
#include "shared/version.h"
#include "tests/support/TempDir.h"
#include "updater/DigestText.h"
#include "updater/FileNameRule.h"
#include "updater/OpenSslCrypto.h"
#include "updater/SignedDescription.h"
#include "updater/UpdateDescription.h"

namespace vt {
namespace {

// tests/native/updater/ -> the repository.
const std::filesystem::path kTool =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "tools" /
    "make_description.py";

// "关机管理器" in code page 936.
const std::string kGbkTitle = "\xB9\xD8\xBB\xFA\xB9\xDC\xC0\xED\xC6\xF7";

Sha256Digest DigestOf(const std::string& bytes) {
    Sha256Digest digest{};
    EXPECT_TRUE(Sha256Of(OpenSslCrypto(), bytes.data(), bytes.size(), digest));
    return digest;
}

// Signing needs python3-cryptography, which the scripts install for the
// system's interpreter.
std::string Python() { return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }

// X||Y of a PEM public key, read with OpenSSL; false when it is none.
bool ReadPublicKey(const std::string& pem, P256PublicKey& out) {
    BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    EVP_PKEY* key = PEM_read_bio_PUBKEY(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    unsigned char point[65];
    size_t n = 0;
    const bool ok = key &&
                    EVP_PKEY_get_octet_string_param(key, OSSL_PKEY_PARAM_PUB_KEY, point, sizeof point, &n) == 1 &&
                    n == 65 && point[0] == 0x04;
    EVP_PKEY_free(key);
    if (ok) std::copy(point + 1, point + 65, out.begin());
    return ok;
}

class MakeDescriptionTool : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool;
        std::filesystem::create_directory(Folder());
    }
    std::string Folder() const { return m_dir + "files/"; }
    std::string Output() const { return m_dir + "update.ini"; }
    // Files to publish, by name and content, put in the folder.
    void Ship(std::initializer_list<std::pair<std::string, std::string>> files) {
        for (const auto& file : files) Put(Folder() + file.first, file.second);
    }

    // The tool's exit status; its messages go to the test's output.
    int Run(const std::string& options) { return RunTool(options + " -o '" + Output() + "' '" + Folder() + "'"); }
    int RunTool(const std::string& arguments) {
        const std::string command = Python() + " '" + kTool.string() + "' " + arguments;
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static constexpr const char* kOptions = "--url http://host/vt/update.ini --base-uri /vt/ --version 1.2";
};

TEST_F(MakeDescriptionTool, DescriptionReadsBackAsTheUpdaterSeesIt) {
    const std::string program(70000, 'V'), updater = "MZ updater", helper = "helper";
    Ship({{"Vantrel.exe", program},
          {"Update.exe", updater},
          {"a b.dll", helper},
          {"UPDATE.INI", "an older description is no component"}});

    ASSERT_EQ(Run("--url http://updates.example.com/vantrel/update.ini --base-uri /vantrel/files "
                  "--version 1.2 --needclose Vantrel.exe:Vantrel.exe --main-exe Vantrel.exe "
                  "--server-mode 2 --title 'Vantrel.exe:关机管理器'"),
              0);

    const std::string raw = Contents(Output());
    EXPECT_EQ(raw.compare(0, 8, "[Main]\r\n"), 0);
    EXPECT_NE(raw.find("Title=" + kGbkTitle + "\r\n"), std::string::npos);

    IniProfile server(Output());
    EXPECT_EQ(server.GetString(kMainSection, "IniUrl", ""), "http://updates.example.com/vantrel/update.ini");
    EXPECT_EQ(server.GetInt(kMainSection, "ServerMode", -1), 2);
    EXPECT_EQ(server.GetString(kMainSection, "MainExe", ""), "Vantrel.exe");
    const int total = server.GetInt(kMainSection, "Total", 0);
    ASSERT_EQ(total, 3);
    EXPECT_EQ(ComponentScanCount(server, total), 3);

    struct Expected {
        std::string title, file, uri, needclose, bytes;
    };
    // The program to start first, then by name.
    const Expected expected[] = {
        {kGbkTitle, "Vantrel.exe", "/vantrel/files/Vantrel.exe", "Vantrel.exe", program},
        {"a b", "a b.dll", "/vantrel/files/a%20b.dll", "", helper},
        {"Update", "Update.exe", "/vantrel/files/Update.exe", "", updater},
    };
    for (int i = 0; i < total; ++i) {
        SCOPED_TRACE(i);
        const ServerComponent c = ReadServerComponent(server, i);
        EXPECT_EQ(c.title.Bytes(), expected[i].title);
        EXPECT_EQ(c.filename.Bytes(), expected[i].file);
        EXPECT_TRUE(IsPlainFileName(c.filename));
        EXPECT_EQ(c.uri, expected[i].uri);
        EXPECT_EQ(c.needclose.Bytes(), expected[i].needclose);
        EXPECT_TRUE(IsNewerVersion(c.version, "1.1"));
        EXPECT_FALSE(IsNewerVersion(c.version, "1.2"));
        Sha256Digest digest;
        ASSERT_TRUE(ParseSha256Hex(c.sha256, digest)) << c.sha256;
        EXPECT_EQ(digest, DigestOf(expected[i].bytes));
    }
}

// What ships beside the programs: the keys only an installed copy reads.
TEST_F(MakeDescriptionTool, InstalledDescriptionCarriesLocalModeAndDay) {
    Ship({{"Vantrel.exe", "v"}, {"Update.exe", "u"}, {"update.bat", "b"}});
    ASSERT_EQ(Run("--url https://www.orvane.com/vantrel/update.ini --base-uri /vantrel/files/ --version 1.1 "
                  "--local-mode 1 --day 1 --main-exe Vantrel.exe --only Vantrel.exe --only Update.exe"),
              0);
    IniProfile local(Output());
    EXPECT_EQ(local.GetInt(kMainSection, "LocalMode", 0), 1);
    EXPECT_EQ(local.GetInt(kMainSection, "Day", 0), 1);
    EXPECT_EQ(local.GetInt(kMainSection, "Total", 0), 2);
    EXPECT_EQ(ReadServerComponent(local, 0).filename.Bytes(), "Vantrel.exe");
    EXPECT_EQ(ReadServerComponent(local, 1).filename.Bytes(), "Update.exe");
    EXPECT_EQ(ReadLocalVersion(local, 1), "1.1");
}

// Without --version every component carries the version the programs are
// built with; a version named on the command line still wins.
TEST_F(MakeDescriptionTool, VersionDefaultsToTheProductVersion) {
    Ship({{"Vantrel.exe", "v"}, {"Update.exe", "u"}});
    ASSERT_EQ(Run("--url http://host/update.ini --base-uri /f/ --main-exe Vantrel.exe"), 0);
    {
        IniProfile described(Output());
        EXPECT_EQ(ReadServerComponent(described, 0).version, VT_VERSION_STR);
        EXPECT_EQ(ReadServerComponent(described, 1).version, VT_VERSION_STR);
    }
    ASSERT_EQ(Run("--url http://host/update.ini --base-uri /f/ --version 7.5 --main-exe Vantrel.exe"), 0);
    IniProfile described(Output());
    EXPECT_EQ(ReadServerComponent(described, 0).version, "7.5");
}

// A data file published on its own (next year's Holidays.txt) carries a
// version of its own, so only it is newer than what is installed.
TEST_F(MakeDescriptionTool, OneFileMayCarryAVersionOfItsOwn) {
    Ship({{"Vantrel.exe", "v"}, {"Holidays.txt", "years 2004-2027\n"}});
    ASSERT_EQ(Run("--url http://host/update.ini --base-uri /f/ --version 1.2 --main-exe Vantrel.exe "
                  "--file-version holidays.txt:1.3"),
              0);
    IniProfile described(Output());
    EXPECT_EQ(ReadServerComponent(described, 0).version, "1.2");
    EXPECT_EQ(ReadServerComponent(described, 1).filename.Bytes(), "Holidays.txt");
    EXPECT_EQ(ReadServerComponent(described, 1).version, "1.3");
    std::filesystem::remove(Output());
    for (const char* bad : {"--file-version Holidays.txt:1.3.1", "--file-version Other.txt:1.3"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Run(std::string("--url http://host/update.ini --base-uri /f/ --version 1.2 ") + bad), 2);
        EXPECT_FALSE(std::filesystem::exists(Output()));
    }
}

// A description the updater would refuse, or read otherwise than meant, is
// never written.
TEST_F(MakeDescriptionTool, RefusesWhatTheUpdaterWouldMisread) {
    Put(Folder() + "Vantrel.exe", "v");
    const char* const bad[] = {
        "--url ftp://host/update.ini --base-uri /f/ --version 1.2",     // not HTTP
        "--url http://host/update.ini --base-uri /f/ --version 1.2.3",  // reads as 1.2
        "--url http://host/update.ini --base-uri /f/ --version 1.2 --title 'Vantrel.exe:emoji \xF0\x9F\x98\x80'",
        "--url http://host/update.ini --base-uri /f/ --version 1.2 --needclose Other.exe:x.exe",
        // The reader trims blanks and one pair of quotes from a value.
        "--url http://host/update.ini --base-uri /f/ --version 1.2 --title 'Vantrel.exe:Vantrel '",
        "--url http://host/update.ini --base-uri /f/ --version 1.2 --title 'Vantrel.exe:\"Vantrel\"'",
    };
    for (const char* options : bad) {
        SCOPED_TRACE(options);
        EXPECT_EQ(Run(options), 2);
        EXPECT_FALSE(std::filesystem::exists(Output()));
    }
    // Names the updater would read as another file's, or refuse.
    for (const char* name : {" Vantrel.exe", "Vant\x7Frel.exe"}) {
        SCOPED_TRACE(name);
        Put(Folder() + name, "x");
        EXPECT_EQ(Run("--url http://host/update.ini --base-uri /f/ --version 1.2"), 2);
        EXPECT_FALSE(std::filesystem::exists(Output()));
        std::filesystem::remove(Folder() + name);
        std::filesystem::remove(Output());
    }
    // A file whose name would leave the application directory on Windows.
    Put(Folder() + "..\\evil.exe", "e");
    EXPECT_EQ(Run("--url http://host/update.ini --base-uri /f/ --version 1.2"), 2);
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

// The publisher's round: a key pair, a signed description, and the updater's
// check of the two against the public key.
TEST_F(MakeDescriptionTool, SignedDescriptionVerifiesUnderTheNewPublicKey) {
    Put(Folder() + "Vantrel.exe", "v");
    const std::string keys = m_dir + "keys";
    ASSERT_EQ(RunTool("--new-key '" + keys + "'"), 0);
    struct stat st {};
    ASSERT_EQ(stat((keys + "/update-private.pem").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // the owner's alone
    P256PublicKey key{};
    ASSERT_TRUE(ReadPublicKey(Contents(keys + "/update-public.pem"), key));

    ASSERT_EQ(Run(std::string(kOptions) + " --key '" + keys + "/update-private.pem'"), 0);
    const std::string description = Contents(Output()), signature = Contents(Output() + ".sig");
    const OpenSslCrypto crypto;
    EXPECT_EQ(CheckSignature(crypto, key, description, signature), SignatureCheck::Valid);
    EXPECT_EQ(signature.size(), 88u + 2u);  // one base64 line and CRLF
    EXPECT_TRUE(EveryComponentHasDigest(MemoryProfile(description)));

    // Another key pair's signature does not pass for this one.
    ASSERT_EQ(RunTool("--new-key '" + m_dir + "other'"), 0);
    ASSERT_EQ(Run(std::string(kOptions) + " --key '" + m_dir + "other/update-private.pem'"), 0);
    EXPECT_EQ(CheckSignature(crypto, key, Contents(Output()), Contents(Output() + ".sig")), SignatureCheck::Invalid);

    // An unsigned run leaves no stale signature of other bytes behind.
    ASSERT_EQ(Run(kOptions), 0);
    EXPECT_FALSE(std::filesystem::exists(Output() + ".sig"));
}

TEST_F(MakeDescriptionTool, SigningRefusesWhatCannotBeSignedRight) {
    Put(Folder() + "Vantrel.exe", "v");
    const std::string keys = m_dir + "keys";
    ASSERT_EQ(RunTool("--new-key '" + keys + "'"), 0);
    const std::string before = Contents(keys + "/update-private.pem");
    EXPECT_EQ(RunTool("--new-key '" + keys + "'"), 2);  // never overwrites a key
    EXPECT_EQ(Contents(keys + "/update-private.pem"), before);

    // A public key, something that is no key, a missing file.
    for (const std::string& bad : {keys + "/update-public.pem", Folder() + "Vantrel.exe", m_dir + "none.pem"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Run(std::string(kOptions) + " --key '" + bad + "'"), 2);
        EXPECT_FALSE(std::filesystem::exists(Output()));
        EXPECT_FALSE(std::filesystem::exists(Output() + ".sig"));
    }
    // Without -o there is nowhere to put the signature beside.
    EXPECT_EQ(RunTool(std::string(kOptions) + " --key '" + keys + "/update-private.pem' '" + Folder() + "' >/dev/null"),
              2);
}

}  // namespace
}  // namespace vt
