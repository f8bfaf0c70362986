// Signed mode end to end: an Update built with a key made in the build tree
// (UpdateSignedTest.exe, installed under the name Update.exe) against its
// update server on the loopback interface. The tests sign with the private
// half of that key through CNG, as the publisher tool would.
#include <windows.h>

#include <bcrypt.h>

#include <gtest/gtest.h>

#include <map>

#include "TestSigningKey.h"
#include "shared/win/Encoding.h"
#include "tests/e2e/Wizard.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/win/updater/TestHttpServer.h"

namespace vt::e2e {
namespace {

using Lines = std::vector<std::wstring>;

std::string Sha256(const std::string& bytes, std::string* hex = nullptr) {
    UCHAR digest[32] = {};
    BCRYPT_ALG_HANDLE alg = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    EXPECT_EQ(BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0), 0);
    EXPECT_EQ(BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0), 0);
    EXPECT_EQ(BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                             static_cast<ULONG>(bytes.size()), 0),
              0);
    EXPECT_EQ(BCryptFinishHash(hash, digest, sizeof digest, 0), 0);
    BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(alg, 0);
    if (hex) {
        static const char kDigits[] = "0123456789abcdef";
        hex->clear();
        for (UCHAR b : digest) *hex += std::string{kDigits[b >> 4], kDigits[b & 15]};
    }
    return std::string(reinterpret_cast<char*>(digest), sizeof digest);
}

std::string HexSha256(const std::string& bytes) {
    std::string hex;
    Sha256(bytes, &hex);
    return hex;
}

std::string Base64(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned v = 0;
        for (std::size_t j = 0; j < 3; ++j) v = v << 8 | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (std::size_t j = 0; j < 4; ++j) out += j <= n ? kAlphabet[(v >> (18 - 6 * j)) & 63] : '=';
    }
    return out;
}

// The .sig file of bytes: base64 of r||s on one line.
std::string SignatureFile(const std::string& bytes) {
    static const UCHAR kX[] = {VT_TEST_KEY_X}, kY[] = {VT_TEST_KEY_Y}, kD[] = {VT_TEST_KEY_D};
    UCHAR blob[sizeof(BCRYPT_ECCKEY_BLOB) + 96];
    const BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PRIVATE_P256_MAGIC, 32};
    memcpy(blob, &header, sizeof header);
    memcpy(blob + sizeof header, kX, 32);
    memcpy(blob + sizeof header + 32, kY, 32);
    memcpy(blob + sizeof header + 64, kD, 32);
    BCRYPT_ALG_HANDLE alg = nullptr;
    BCRYPT_KEY_HANDLE key = nullptr;
    EXPECT_EQ(BCryptOpenAlgorithmProvider(&alg, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0), 0);
    EXPECT_EQ(BCryptImportKeyPair(alg, nullptr, BCRYPT_ECCPRIVATE_BLOB, &key, blob, sizeof blob, 0), 0);
    std::string digest = Sha256(bytes);
    UCHAR sig[64] = {};
    ULONG n = 0;
    EXPECT_EQ(BCryptSignHash(key, nullptr, reinterpret_cast<PUCHAR>(&digest[0]), 32, sig, sizeof sig, &n, 0), 0);
    BCryptDestroyKey(key);
    BCryptCloseAlgorithmProvider(alg, 0);
    return Base64(std::string(reinterpret_cast<char*>(sig), sizeof sig)) + "\r\n";
}

// Every file of a directory with its bytes.
std::map<std::wstring, std::string> Snapshot(const std::wstring& dir) {
    std::map<std::wstring, std::string> files;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files[found.cFileName] = ReadFileBytes(dir + found.cFileName);
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return files;
}

class UpdaterSigned : public UpdaterFixture {
protected:
    void SetUp() override {
        SetUpWith(L"UpdateSignedTest.exe");
        WriteStartedProgram();
        WriteFileBytes(m_dir + L"a.dat", "old a");
        WriteFileBytes(m_dir + L"b.dat", "old b");
        WriteFileBytes(m_dir + L"Update.ini", test::LocalDescription(IniUrl(), 0, {{"A", "1.0"}, {"B", "1.0"}}));
        server.Serve("/vt/a.dat", "new a");
        server.Serve("/vt/b.dat", "new b");
    }

    // The server description offering both files at 2.0, with the digest
    // of what is served for A, and for B unless left out.
    std::string Offering(bool digestOfB) const {
        test::Description d;
        d.Main("IniUrl", IniUrl()).Total().Main("MainExe", "Started.bat");
        d.Offer("A", "2.0", "a.dat", "/vt/").Key("sha256", HexSha256("new a"));
        d.Offer("B", "2.0", "b.dat", "/vt/");
        if (digestOfB) d.Key("sha256", HexSha256("new b"));
        return d;
    }
    std::string Genuine() const { return Offering(true); }

    HWND StartAndCheck(Process& p) {
        HWND wizard = StartWizard(p, m_dir);
        if (wizard) PressButton(wizard, IDOK);
        return wizard;
    }

    // The check refuses with status; nothing is listed, downloaded or
    // written, and "完成" only closes the wizard.
    void ExpectRefused(const std::wstring& status) {
        const auto before = Snapshot(m_dir);
        Process p;
        HWND wizard = StartAndCheck(p);
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(WaitStatus(wizard, status)) << win::ToUtf8(ItemText(wizard, kStatus));
        EXPECT_EQ(ListBoxLines(wizard, kList), (Lines{L"A  版本：1.0", L"B  版本：1.0"}));
        EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
        EXPECT_EQ(server.Requests("/vt/a.dat") + server.Requests("/vt/b.dat"), 0);
        PressButton(wizard, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
        EXPECT_EQ(Snapshot(m_dir), before);
    }
};

TEST_F(UpdaterSigned, SignedUpdateInstallsAndItsBytesBecomeTheLocalDescription) {
    const std::string text = Genuine();
    server.Serve("/vt/update.ini", text);
    server.Serve("/vt/update.ini.sig", SignatureFile(text));

    Process p;
    HWND wizard = StartAndCheck(p);
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitStatus(wizard, kNewerFound));
    EXPECT_EQ(ListBoxLines(wizard, kList), (Lines{L"发现新版本：A 2.0", L"发现新版本：B 2.0"}));
    PressButton(wizard, IDOK);
    ASSERT_TRUE(WaitStatus(wizard, kUpdated));
    EXPECT_EQ(ReadFileBytes(m_dir + L"a.dat"), "new a");
    EXPECT_EQ(ReadFileBytes(m_dir + L"b.dat"), "new b");
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), text);
    EXPECT_FALSE(FileExists(m_dir + L"Update.ini.new"));
    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(WasStarted(3000));
}

TEST_F(UpdaterSigned, UnsignedDescriptionIsRefused) {
    server.Serve("/vt/update.ini", Genuine());
    ExpectRefused(kBadSignature);
    EXPECT_EQ(server.Requests("/vt/update.ini.sig"), 1);
}

TEST_F(UpdaterSigned, WrongSignatureIsRefused) {
    server.Serve("/vt/update.ini", Genuine());
    server.Serve("/vt/update.ini.sig", Base64(std::string(64, '\x5A')) + "\r\n");
    ExpectRefused(kBadSignature);
}

TEST_F(UpdaterSigned, SignatureOfOtherBytesIsRefused) {
    const std::string text = Genuine();
    server.Serve("/vt/update.ini", text);
    server.Serve("/vt/update.ini.sig", SignatureFile(text + "\r\n"));
    ExpectRefused(kBadSignature);
}

TEST_F(UpdaterSigned, DescriptionChangedAfterSigningIsRefused) {
    const std::string text = Genuine();
    server.Serve("/vt/update.ini.sig", SignatureFile(text));
    std::string changed = text;
    changed.replace(changed.find("uri=/vt/b.dat"), 13, "uri=/vt/a.dat");
    server.Serve("/vt/update.ini", changed);
    ExpectRefused(kBadSignature);
}

TEST_F(UpdaterSigned, ComponentWithoutSha256IsRefused) {
    const std::string text = Offering(false);
    server.Serve("/vt/update.ini", text);
    server.Serve("/vt/update.ini.sig", SignatureFile(text));
    ExpectRefused(kNoDigest);
}

// Signed, but the second file on the server is not the one its digest names:
// the update stops before anything is replaced.
TEST_F(UpdaterSigned, ComponentThatDiffersFromItsSha256ChangesNothing) {
    const std::string text = Genuine();
    server.Serve("/vt/update.ini", text);
    server.Serve("/vt/update.ini.sig", SignatureFile(text));
    server.Serve("/vt/b.dat", "MZ forged b");
    const auto before = Snapshot(m_dir);

    Process p;
    HWND wizard = StartAndCheck(p);
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitStatus(wizard, kNewerFound));
    PressButton(wizard, IDOK);
    ASSERT_TRUE(WaitStatus(wizard, kDownloadFailed));
    EXPECT_EQ(ListBoxLines(wizard, kList), Lines{L"文件：a.dat下载完成!"});
    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_EQ(Snapshot(m_dir), before);
    EXPECT_FALSE(FileExists(m_dir + L"started.txt"));
}

}  // namespace
}  // namespace vt::e2e
