#include "app/settings.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>

#include "tests/test_support.h"

namespace velmora::app {
namespace {

TEST(SettingsTest, AFullFileSetsEveryKey) {
    LoadedSettings loaded = ParseSettings(
        "# made by hand\n[api]\napp_key = 12345678\r\napp_secret=\"s3cret\"\n"
        "adzone_id = 9876\ngateway = https://eco.taobao.com/router/rest\n"
        "method = taobao.tbk.dg.material.optional\nsign_method = hmac-sha256\n"
        "rate_per_second = 0.5\nhas_coupon = true\n[other]\nanything = at all\n"
        "[site]\nindex = true\nbase_url = https://www.example.com/pages/\n",
        "velmora.conf");
    EXPECT_TRUE(loaded.problems.empty());
    const Settings& s = loaded.settings;
    EXPECT_EQ(s.api.appKey, "12345678");
    EXPECT_EQ(s.api.appSecret, "s3cret");
    EXPECT_EQ(s.api.adzoneId, "9876");
    EXPECT_EQ(s.api.gateway, "https://eco.taobao.com/router/rest");
    EXPECT_EQ(s.api.method, "taobao.tbk.dg.material.optional");
    EXPECT_EQ(Settings().api.method, "taobao.tbk.dg.material.optional.upgrade");
    EXPECT_EQ(s.api.signMethod, SignMethod::kHmacSha256);
    EXPECT_EQ(s.api.ratePerSecond, 0.5);
    EXPECT_TRUE(s.api.hasCoupon);
    EXPECT_TRUE(s.api.Configured());
    EXPECT_TRUE(s.site.index);
    EXPECT_EQ(s.site.baseUrl, "https://www.example.com/pages/");
    for (const char* method : {"md5", "hmac", "hmac-sha256"})
        EXPECT_EQ(SignMethodName(ParseSettings(std::string("[api]\nsign_method = ") + method, "f")
                                     .settings.api.signMethod),
                  method);
}

TEST(SettingsTest, ABadValueIsOneLineAndItsDefault) {
    const struct {
        const char* line;
        const char* problem;  // the problem line's ending
    } cases[] = {
        {"[api]\nsign_method = sha1",
         "velmora.conf line 2: sign_method is not md5, hmac or hmac-sha256; using the default"},
        {"[api]\nrate_per_second = -1",
         "rate_per_second is not a number, 0 or more; using the default"},
        {"[api]\nrate_per_second = 2x", "is not a number, 0 or more; using the default"},
        {"[api]\nhas_coupon = yes", "has_coupon is not true or false; using the default"},
        {"[api]\nadzone_id = mm_1_2_x",
         "adzone_id is not digits or a PID (mm_<member>_<site>_<adzone>); using the default"},
        {"[api]\nadzone_id = mm_1_77",
         "adzone_id is not digits or a PID (mm_<member>_<site>_<adzone>); using the default"},
        {"[site]\nadzone_id = 77",
         "line 2: key \"adzone_id\" belongs in [api], not [site]; ignored"},
        {"app_key = 1\n[api]",
         "line 1: key \"app_key\" belongs in [api], not before any section; ignored"},
        {"[site]\ntemplate = a/b", "template is not a template folder's name; using the default"},
        {"[site]\ntemplate = ..", "template is not a template folder's name; using the default"},
        {"[site]\nout = pages", "out is not an absolute folder (/... or ~/...); using the default"},
        {"[api]\ngateway = ftp://gw.example.com/",
         "is not an http:// or https:// address; using the default"},
        {"[site]\nindex = 1", "index is not true or false; using the default"},
        {"[api]\napp_sceret = x", "line 2: unknown key \"app_sceret\" in [api], ignored"},
        {"[api]\napp_secret: 3f2a9c", "line 2: app_secret has no \"=\", ignored"},
        {"[api]\n3f2a9c0b", "line 2: a line without \"=\", ignored"},
        {"[site]\n3f2a9c0b = x", "line 2: unknown key (not shown) in [site], ignored"},
        // An empty quoted value is empty: no problem of its own, no quotes kept.
        {"[api]\napp_key = \"\"\nhas_coupon = yes",
         "line 3: has_coupon is not true or false; using the default"},
        {"[site]\nbase_url = \"\"\nindex = 1",
         "line 3: index is not true or false; using the default"},
    };
    const Settings defaults;
    for (const auto& c : cases) {
        LoadedSettings loaded = ParseSettings(c.line, "velmora.conf");
        ASSERT_EQ(loaded.problems.size(), 1u) << c.line;
        EXPECT_TRUE(loaded.problems[0].ends_with(c.problem)) << loaded.problems[0];
        EXPECT_EQ(FormatSettings(loaded.settings), FormatSettings(defaults)) << c.line;
    }
}

TEST(SettingsTest, CommentsAndQuotesAroundAValue) {
    velmora::testing::SetEnvironment("HOME", "/home/tester");
#ifdef _WIN32
    velmora::testing::SetEnvironment("USERPROFILE", "C:\\Users\\tester");
    const char* const homeOut = "out = C:/Users/tester/public_html\n";
#else
    const char* const homeOut = "out = /home/tester/public_html\n";
#endif
    const struct {
        const char* file;
        const char* line;  // as a new file would hold the value
    } cases[] = {
        {"[api]\ngateway = http://127.0.0.1:8080/router/rest   ; simulator",
         "gateway = http://127.0.0.1:8080/router/rest\n"},
        {"[api]\napp_secret = \"s3 ;c#ret\" # quoted", "app_secret = \"s3 ;c#ret\"\n"},
        {"[api]\napp_secret = s3c#r;et", "app_secret = \"s3c#r;et\"\n"},
        {"[api]\nadzone_id = mm_12_34_77 ; the PID", "adzone_id = 77\n"},
        {"[site] ; pages\r\ntemplate = 高贵大气 #nightly\r\n", "template = 高贵大气\n"},
        {"[site]\nout = ~/public_html", homeOut},
#ifdef _WIN32
        {"[site]\nout = D:\\pages", "out = D:\\pages\n"},
#endif
    };
    for (const auto& c : cases) {
        LoadedSettings loaded = ParseSettings(c.file, "velmora.conf");
        EXPECT_TRUE(loaded.problems.empty()) << c.file;
        EXPECT_NE(FormatSettings(loaded.settings).find(c.line), std::string::npos) << c.file;
    }
}

TEST(SettingsTest, AnUpdateChangesOnlyTheValuesThatChanged) {
    const std::string file =
        "; mine\r\n[api]\r\napp_key = old # from the console\r\nadzone_id = mm_1_2_77\r\n"
        "\r\nfuture_key = x\r\n[other]\r\napp_key = theirs\r\n[api]\r\nadzone_id =; none\r\n"
        "# the end\r\n";
    Settings settings = ParseSettings(file, "velmora.conf").settings;
    EXPECT_EQ(UpdateSettingsText(file, settings), file);
    settings.api.appKey = "new";
    settings.api.appSecret = "s3;cret";
    settings.api.adzoneId = "88";
    settings.site.templateName = "高贵大气";
    EXPECT_EQ(UpdateSettingsText(file, settings),
              "; mine\r\n[api]\r\napp_key = new # from the console\r\nadzone_id = mm_1_2_77\r\n"
              "\r\nfuture_key = x\r\n[other]\r\napp_key = theirs\r\n[api]\r\nadzone_id = 88 ; none"
              "\r\napp_secret = \"s3;cret\"\r\n# the end\r\n\r\n[site]\r\ntemplate = 高贵大气\r\n");
}

TEST(SettingsTest, SaveWritesAPrivateFileThatLoadsBack) {
#ifdef _WIN32
    // The roaming folder of the user's profile.
    std::string home = ::testing::TempDir() + "velmora-settings";
    velmora::testing::SetEnvironment("APPDATA", home.c_str());
#else
    std::string home = ::testing::TempDir() + "velmora-settings-" + std::to_string(getpid());
    velmora::testing::SetEnvironment("XDG_CONFIG_HOME", home.c_str());
#endif
    std::filesystem::path path = SettingsPath();
    EXPECT_EQ(path, std::filesystem::path(home) / "velmora" / "velmora.conf");
    std::filesystem::remove_all(home);

    LoadedSettings missing = LoadSettings(path);
    EXPECT_TRUE(missing.problems.empty());
    EXPECT_FALSE(missing.settings.api.Configured());

    Settings settings;
    settings.api.appKey = "12345678";
    settings.api.appSecret = "s3cret";
    settings.api.adzoneId = "9876";
    settings.api.ratePerSecond = 0;
    settings.site.baseUrl = "https://www.example.com/";
    std::string error;
    ASSERT_TRUE(SaveSettings(settings, path, &error)) << error;
#ifndef _WIN32
    // Windows: private by the access list the profile's folder hands down.
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(path.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
#endif

    LoadedSettings back = LoadSettings(path);
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(FormatSettings(back.settings), FormatSettings(settings));
    settings.api.appKey = "87654321";
    ASSERT_TRUE(SaveSettings(settings, path, &error)) << error << " (over the file it wrote)";
    EXPECT_EQ(LoadSettings(path).settings.api.appKey, "87654321");

    std::filesystem::remove_all(home);
}

TEST(SettingsTest, TheSecretsFileIsNeverWrittenThroughALinkAndItsRisksAreSaidOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes, links and core limits";
#else
    namespace fs = std::filesystem;
    // Core dumps on, so that loading the secret has to turn them off.
    rlimit core{};
    getrlimit(RLIMIT_CORE, &core);
    core.rlim_cur = core.rlim_max;
    setrlimit(RLIMIT_CORE, &core);
    const fs::path root = ::testing::TempDir() + "velmora-secret-" + std::to_string(getpid());
    const struct {
        bool linkAtSibling, linked;
        mode_t mode;
        const char* warning;  // empty: none
    } cases[] = {{true, false, 0600, ""},
                 {false, false, 0644, "chmod 600 "},
                 {false, true, 0600, ": a symbolic link, so the app secret is kept in "}};
    Settings settings;
    settings.api.appSecret = "s3cret";
    for (size_t i = 0; i < std::size(cases); ++i) {
        const fs::path folder = root / std::to_string(i), bait = folder / "bait";
        const fs::path path = folder / "velmora.conf";
        fs::create_directories(folder);
        if (cases[i].linkAtSibling) {
            fs::create_symlink(bait, path.string() + ".new");
            fs::create_symlink(bait, path);
        }
        ASSERT_TRUE(SaveSettings(settings, path));
        EXPECT_FALSE(fs::exists(bait)) << i << ": the secret went through a link";
        EXPECT_FALSE(fs::is_symlink(path)) << i;
        ::chmod(path.c_str(), cases[i].mode);
        if (cases[i].linked) fs::rename(path, bait), fs::create_symlink(bait, path);
        std::vector<std::string> said = LoadSettings(path).problems;
        ASSERT_EQ(said.size(), *cases[i].warning ? 1u : 0u) << i;
        for (const std::string& line : said)
            EXPECT_NE(line.find(cases[i].warning), std::string::npos) << line;
        EXPECT_TRUE(LoadSettings(path).problems.empty()) << i << ": said once";
    }
    fs::remove_all(root);
    getrlimit(RLIMIT_CORE, &core);
    EXPECT_EQ(core.rlim_max, 0u) << "a crash would write the secret to disk";
#endif
}

}  // namespace
}  // namespace velmora::app
