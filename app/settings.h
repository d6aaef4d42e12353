// The user's settings file, $XDG_CONFIG_HOME/velmora/velmora.conf: INI, UTF-8,
// plain C++ so that the window program and the batch program read it alike.
// A missing file is the classic defaults; a bad value is one problem line and
// its default, never a failure. A ';' or '#' that starts a value or follows a
// blank begins a comment; a value in double quotes keeps them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

enum class SignMethod { kMd5, kHmacMd5, kHmacSha256 };

struct ApiSettings {
    std::string appKey;
    std::string appSecret;  // never written to a log or an error text
    std::string adzoneId;
    std::string gateway = "https://gw.api.taobao.com/router/rest";
    // What new applications get; a file naming the flat method keeps it.
    std::string method = "taobao.tbk.dg.material.optional.upgrade";
    SignMethod signMethod = SignMethod::kMd5;
    double ratePerSecond = 2;  // requests per second; 0 switches the limit off
    bool hasCoupon = false;    // ask the platform for items with a coupon only

    // With a key and an ad zone, runs take their items from the platform.
    bool Configured() const { return !appKey.empty() && !adzoneId.empty(); }
};

struct SiteSettings {
    bool index = false;
    std::string baseUrl;
    std::string templateName;  // UTF-8; empty: the batch's own choice
    std::string outFolder;     // absolute, UTF-8; empty: the template's folder
};

struct Settings {
    ApiSettings api;
    SiteSettings site;
};

struct LoadedSettings {
    Settings settings;
    std::vector<std::string> problems;  // one line each, naming file, line and key
};

// $XDG_CONFIG_HOME/velmora/velmora.conf, or ~/.config/velmora/velmora.conf
// when that variable is unset or not absolute.
std::filesystem::path SettingsPath();

LoadedSettings ParseSettings(std::string_view text, std::string_view fileName);
// A whole new file holding every key.
std::string FormatSettings(const Settings& settings);
// The file's text with each value that reads otherwise than in `settings`
// set on its key's last line in its section, that line's comment kept; a
// missing key goes to the end of its section, a missing section to the end.
// Every other byte stays.
std::string UpdateSettingsText(std::string_view text, const Settings& settings);

// The ad-zone id in digits, or the last part of a PID (mm_<member>_<site>_<adzone>);
// nullopt for anything else.
std::optional<std::string> AdzoneIdOf(std::string_view text);

// A missing file gives the defaults without a problem; an unreadable one a
// problem line. A file holding the secret turns core dumps off, and, the
// first time in a run, is a problem line when it is a symbolic link or
// others may read it.
LoadedSettings LoadSettings(const std::filesystem::path& path);

// Writes the file through a new sibling (never through what lay at its name)
// and a rename, readable by the user alone (0600; its folder 0700 when
// created). An existing file keeps its comments and order: only the values
// that changed are rewritten. False with a reason on failure.
bool SaveSettings(const Settings& settings, const std::filesystem::path& path,
                  std::string* error = nullptr);

std::string_view SignMethodName(SignMethod method);

// From here on a crash writes no core file, which would hold the secret.
// The process stays dumpable otherwise: that switch would also hand its /proc
// entries to root and shut debuggers out, which the browser engine and its
// helper processes were not built to meet.
void KeepSecretsOutOfCoreDumps();

}  // namespace velmora::app
