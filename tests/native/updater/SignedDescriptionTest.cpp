// Signed mode: the signature file's form, the rule that every component
// names its digest, and the check and the wizard with a publisher key, on
// descriptions signed with OpenSSL.
#include <gtest/gtest.h>

#include "TestSigner.h"
#include "UpdaterFakes.h"
#include "updater/DigestText.h"
#include "updater/SignedDescription.h"
#include "updater/UpdateTexts.h"
#include "updater/UpdateWizard.h"

namespace vt {
namespace {

using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(Base64, StandardVectorsDecode) {
    // RFC 4648, section 10.
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"Zg==", "f"},
        {"Zm8=", "fo"},
        {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"},
        {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"},
    };
    for (const auto& [text, bytes] : vectors) {
        Bytes out{9};
        ASSERT_TRUE(DecodeBase64(text, out)) << text;
        EXPECT_EQ(out, B(bytes)) << text;
    }
    Bytes out;
    ASSERT_TRUE(DecodeBase64("+/+/", out));
    EXPECT_EQ(out, (Bytes{0xFB, 0xFF, 0xBF}));
}

TEST(Base64, AnythingButCanonicalTextIsRefused) {
    const char* const bad[] = {
        "Zg",        // unpadded
        "Zg=",       // short padding
        "Z===",      // three pad characters
        "Zg==Zg==",  // padding inside
        "=Zg=",      // padding first
        "Zh==",      // unused bits set: another text for "f"
        "Zm9=",      // the same for "fo"
        "Zm9v\n",    // a line break
        "Zm 9v",     // a blank
        "Zm9-",      // the URL alphabet
        "Zm9_",     "Zm9\x80",
    };
    for (const char* text : bad) {
        Bytes out{1, 2};
        EXPECT_FALSE(DecodeBase64(text, out)) << text;
        EXPECT_EQ(out, (Bytes{1, 2})) << text;
    }
}

TEST(SignatureFile, OneLineOfSixtyFourBytes) {
    const std::string line = test::Base64(Bytes(64, 0xAB).data(), 64);
    for (const std::string& text : {line, line + "\n", line + "\r\n"}) {
        P256Signature sig{};
        EXPECT_EQ(ReadSignatureFile(text, sig), SignatureCheck::Valid);
        EXPECT_EQ(sig[0], 0xAB);
        EXPECT_EQ(sig[63], 0xAB);
    }
    P256Signature sig{};
    for (const std::string& text :
         {std::string(), std::string("\r\n"), line + "\r\n\r\n", " " + line, line + " ", line + "\r",
          line.substr(0, 40) + "\r\n" + line.substr(40), line.substr(1), std::string("not base64 at all")}) {
        EXPECT_EQ(ReadSignatureFile(text, sig), SignatureCheck::BadText) << text;
    }
    EXPECT_EQ(ReadSignatureFile(test::Base64(Bytes(63, 1).data(), 63), sig), SignatureCheck::WrongLength);
    EXPECT_EQ(ReadSignatureFile(test::Base64(Bytes(65, 1).data(), 65), sig), SignatureCheck::WrongLength);
    // DER, as openssl dgst -sign writes it, is no r||s.
    EXPECT_EQ(ReadSignatureFile(test::Base64(Bytes(71, 0x30).data(), 71), sig), SignatureCheck::WrongLength);
}

TEST(SignatureFile, VerifiesOnlyTheExactBytes) {
    const OpenSslCrypto crypto;
    const P256PublicKey key = test::TestPublicKey();
    const std::string text = test::Description().Total();
    const std::string sig = test::SignatureFile(text);
    EXPECT_EQ(CheckSignature(crypto, key, text, sig), SignatureCheck::Valid);
    EXPECT_EQ(CheckSignature(crypto, key, text + "\r\n", sig), SignatureCheck::Invalid);
    std::string lfOnly = text;
    lfOnly.erase(std::remove(lfOnly.begin(), lfOnly.end(), '\r'), lfOnly.end());
    EXPECT_EQ(CheckSignature(crypto, key, lfOnly, sig), SignatureCheck::Invalid);
    EXPECT_EQ(CheckSignature(crypto, key, text, test::SignatureFile(text + " ")), SignatureCheck::Invalid);
    P256PublicKey otherKey = key;
    otherKey[0] ^= 1;
    EXPECT_EQ(CheckSignature(crypto, otherKey, text, sig), SignatureCheck::Invalid);
    EXPECT_EQ(CheckSignature(crypto, key, text, "!!"), SignatureCheck::BadText);
}

TEST(SignedRules, EveryComponentNeedsAWellFormedDigest) {
    const std::string digest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    const auto description = [&](const std::string& second) {
        return MemoryProfile(
            test::Description().Main("Total", 3).File("A").Key("sha256", digest).Gap().File("C").Text() + second);
    };
    // File1 is missing: a gap is no component.
    EXPECT_TRUE(EveryComponentHasDigest(description("sha256=" + digest + "\r\n")));
    EXPECT_FALSE(EveryComponentHasDigest(description("")));
    EXPECT_FALSE(EveryComponentHasDigest(description("sha256=\r\n")));
    EXPECT_FALSE(EveryComponentHasDigest(description("sha256=" + digest.substr(1) + "\r\n")));
    EXPECT_FALSE(EveryComponentHasDigest(description("sha256=" + digest + "0\r\n")));
    EXPECT_TRUE(EveryComponentHasDigest(MemoryProfile(test::Description().Total().Text())));
}

class SignedModeTest : public test::UpdaterTest {
protected:
    void SetUp() override {
        UpdaterTest::SetUp();
        publisherKey = &m_key;
    }
    // The components of ServeServer, each with the digest of what is served.
    static std::vector<test::Component> WithDigests(std::vector<test::Component> offered) {
        for (test::Component& c : offered) c.sha256 = Sha256Hex(test::DigestOf(test::NewFile(c.filename)));
        return offered;
    }
    // Serves a description and, unless told otherwise, its signature.
    std::string Publish(const std::vector<test::Component>& offered, int serverMode = 0) {
        const std::string text = ServeServer(serverMode, offered);
        ServeSignature(test::SignatureFile(text));
        return text;
    }
    void ServeSignature(const std::string& body) {
        test::FakeResponse r;
        r.body = body;
        http.responses[std::string(kIniObject) + ".sig"] = r;
    }
    // As a signed update is installed; "old ..." files and the local one.
    void Installed() { WriteLocal(0, {{"A", "1.0", "a.dll"}, {"B", "1.0", "b.dll"}}); }
    std::vector<test::Component> Newer() { return WithDigests({{"A", "2.0", "a.dll"}, {"B", "2.0", "b.dll"}}); }

    void ExpectRefused(CheckOutcome outcome, const char* status) {
        EXPECT_EQ(outcome, CheckOutcome::Refused);
        EXPECT_EQ(view.status, status);
        EXPECT_EQ(view.list, Strings{"installed"});  // nothing listed
        EXPECT_EQ(ctx->serverMode, ServerMode::WaitForUser);
        EXPECT_FALSE(ctx->verifiedServer);
        for (const std::string& object : http.requested) EXPECT_EQ(object.find("/files/"), std::string::npos);
    }
    CheckOutcome Check(int localMode = 1) {
        ctx = MakeContext(localMode);
        view.list = {"installed"};
        return CheckVersions(*ctx);
    }

    P256PublicKey m_key = test::TestPublicKey();
    std::unique_ptr<UpdateContext> ctx;
};

TEST_F(SignedModeTest, SignedDescriptionIsListedFromTheVerifiedBytes) {
    Installed();
    const std::string text = Publish(Newer(), 2);
    EXPECT_EQ(Check(), CheckOutcome::Newer);
    EXPECT_EQ(view.list, (Strings{"发现新版本：A 2.0", "发现新版本：B 2.0"}));
    EXPECT_EQ(http.requested, (Strings{kIniObject, std::string(kIniObject) + ".sig"}));
    ASSERT_TRUE(ctx->verifiedServer);
    EXPECT_EQ(ctx->verifiedServer->Bytes(), text);
    EXPECT_EQ(ctx->serverMode, ServerMode::Unattended);
}

// Missing, not base64, not 64 bytes, an error page, a signature of other
// bytes, and a description changed after it was signed.
TEST_F(SignedModeTest, DescriptionWithoutAValidSignatureIsRefused) {
    Installed();
    const std::string text = ServeServer(2, Newer());
    const std::string good = test::SignatureFile(text);
    const std::pair<const char*, std::string> cases[] = {
        {"bad base64", "%%%%\r\n"},
        {"wrong length", test::Base64(reinterpret_cast<const unsigned char*>(good.data()), 48) + "\r\n"},
        {"error page", "<html><body>not found</body></html>"},
        {"other bytes", test::SignatureFile(text + "[File9]\r\n")},
        {"empty", ""},
    };
    for (const auto& [what, signature] : cases) {
        SCOPED_TRACE(what);
        ServeSignature(signature);
        ExpectRefused(Check(), updtext::kStatusBadSignature);
    }

    SCOPED_TRACE("missing");
    http.responses.erase(std::string(kIniObject) + ".sig");
    ExpectRefused(Check(), updtext::kStatusBadSignature);

    SCOPED_TRACE("changed after signing");
    ServeSignature(good);
    std::string changed = text;
    changed.replace(changed.find("version=2.0"), 11, "version=2.1");
    http.responses[kIniObject].body = changed;
    ExpectRefused(Check(), updtext::kStatusBadSignature);

    SCOPED_TRACE("the genuine pair");
    http.responses[kIniObject].body = text;
    EXPECT_EQ(Check(), CheckOutcome::Newer);
}

TEST_F(SignedModeTest, ComponentWithoutDigestRefusesTheWholeDescription) {
    Installed();
    std::vector<test::Component> offered = Newer();
    offered[1].sha256.clear();
    Publish(offered);
    ExpectRefused(Check(), updtext::kStatusNoDigest);
}

// The signature file broke off: the same message and retry as for the
// description itself.
TEST_F(SignedModeTest, BrokenSignatureTransferIsATransferError) {
    Installed();
    Publish(Newer());
    http.responses[std::string(kIniObject) + ".sig"].failAfter = 10;
    EXPECT_EQ(Check(), CheckOutcome::TransferError);
    EXPECT_FALSE(ctx->verifiedServer);
}

TEST_F(SignedModeTest, UpdateInstallsAndTheLocalDescriptionIsTheVerifiedBytes) {
    Installed();
    const std::string text = Publish(Newer());
    auto wizard = MakeWizard();
    ASSERT_TRUE(wizard->Start());
    wizard->Press();
    ASSERT_EQ(wizard->Step(), WizardStep::Install);
    // What lies in the temporary directory is no longer read: a hostile
    // rewrite of the saved file between the steps changes nothing.
    test::WriteText(
        paths.serverIni,
        test::Description().Total().Main("MainExe", "evil.exe").Section().Key("version", "9").Download("evil.exe"));
    wizard->Press();
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(view.status, "更新完成！");
    EXPECT_EQ(AppFile("a.dll"), test::NewFile("a.dll"));
    EXPECT_EQ(AppFile("b.dll"), test::NewFile("b.dll"));
    EXPECT_FALSE(std::filesystem::exists(paths.appDir + "evil.exe"));
    EXPECT_EQ(test::ReadText(paths.localIni), text);
    EXPECT_FALSE(std::filesystem::exists(paths.localIni + ".new"));
}

TEST_F(SignedModeTest, FileThatDiffersFromItsDigestIsNotInstalled) {
    Installed();
    Publish(Newer());
    http.responses["/files/b.dll"].body = "tampered b.dll";
    auto wizard = MakeWizard();
    ASSERT_TRUE(wizard->Start());
    wizard->Press();
    wizard->Press();
    EXPECT_FALSE(wizard->IsUpdated());
    EXPECT_EQ(view.status, "下载文件时发生错误，更新中止！");
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    EXPECT_EQ(AppFile("b.dll"), "old b.dll");
}

// An automatic start that meets a forged description does not close by
// itself as after a connection failure: it waits at Finish and says why.
TEST_F(SignedModeTest, RefusedAutomaticStartStaysOpenAtFinish) {
    WriteLocal(1, {{"A", "1.0", "a.dll"}});
    ServeServer(2, WithDigests({{"A", "2.0", "a.dll"}}));
    ServeSignature(test::SignatureFile("something else"));
    auto wizard = MakeWizard();
    EXPECT_TRUE(wizard->Start());
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    EXPECT_EQ(view.status, updtext::kStatusBadSignature);
    EXPECT_EQ(view.button, "完成");
    EXPECT_EQ(view.progress, 100);
    EXPECT_EQ(view.closeCount, 0);
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    wizard->Press();
    EXPECT_EQ(view.closeCount, 1);
    EXPECT_TRUE(shell.opened.empty());
}

// Without a key the updater takes what it always took.
TEST_F(SignedModeTest, WithoutKeyUnsignedDescriptionsAreTaken) {
    publisherKey = nullptr;
    Installed();
    ServeServer(0, {{"A", "2.0", "a.dll"}});
    EXPECT_EQ(Check(), CheckOutcome::Newer);
    EXPECT_EQ(http.requested, Strings{kIniObject});
}

}  // namespace
}  // namespace vt
