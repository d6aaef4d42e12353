#include "app/settings.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <sstream>

#include "runtime/file_replace.h"

namespace velmora::app {
namespace {

std::string_view Trim(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// QSettings and hand editors both quote values at times.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

bool ParseBool(std::string_view value, bool& out) {
    if (value == "true") return out = true, true;
    if (value == "false") return out = false, true;
    return false;
}

bool ParseRate(std::string_view value, double& out) {
    double rate = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), rate);
    if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(rate) ||
        rate < 0)
        return false;
    out = rate;
    return true;
}

bool ParseSignMethod(std::string_view value, SignMethod& out) {
    for (SignMethod method : {SignMethod::kMd5, SignMethod::kHmacMd5, SignMethod::kHmacSha256})
        if (value == SignMethodName(method)) return out = method, true;
    return false;
}

bool ParseText(std::string_view value, std::string& out) {
    out = value;
    return true;
}

bool ParseAddress(std::string_view value, std::string& out) {
    if (!value.empty() && value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0)
        return false;
    return ParseText(value, out);
}

struct Key {
    std::string_view section;
    std::string_view name;
    std::string_view expected;  // for the problem line
    std::function<bool(std::string_view, Settings&)> parse;
};

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = {
        {"api", "app_key", "",
         [](std::string_view v, Settings& s) { return ParseText(v, s.api.appKey); }},
        {"api", "app_secret", "",
         [](std::string_view v, Settings& s) { return ParseText(v, s.api.appSecret); }},
        {"api", "adzone_id", "digits",
         [](std::string_view v, Settings& s) {
             return v.find_first_not_of("0123456789") == std::string_view::npos &&
                    ParseText(v, s.api.adzoneId);
         }},
        {"api", "gateway", "an http:// or https:// address",
         [](std::string_view v, Settings& s) { return ParseAddress(v, s.api.gateway); }},
        {"api", "method", "",
         [](std::string_view v, Settings& s) { return !v.empty() && ParseText(v, s.api.method); }},
        {"api", "sign_method", "md5, hmac or hmac-sha256",
         [](std::string_view v, Settings& s) { return ParseSignMethod(v, s.api.signMethod); }},
        {"api", "rate_per_second", "a number, 0 or more",
         [](std::string_view v, Settings& s) { return ParseRate(v, s.api.ratePerSecond); }},
        {"api", "has_coupon", "true or false",
         [](std::string_view v, Settings& s) { return ParseBool(v, s.api.hasCoupon); }},
        {"site", "index", "true or false",
         [](std::string_view v, Settings& s) { return ParseBool(v, s.site.index); }},
        {"site", "base_url", "an http:// or https:// address",
         [](std::string_view v, Settings& s) { return ParseAddress(v, s.site.baseUrl); }},
    };
    return keys;
}

const Key* FindKey(std::string_view section, std::string_view name) {
    for (const Key& key : Keys())
        if (key.section == section && key.name == name) return &key;
    return nullptr;
}

// Letters, '_', '-' and '.': every key of ours, and no pasted secret, which
// would hold digits.
bool ShapedLikeAKey(std::string_view name) {
    return !name.empty() && name.size() <= 32 &&
           name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_-.") ==
               std::string_view::npos;
}

// Said once per file and program run, not on every start of a run.
std::vector<std::string> SecretFileWarnings(const std::filesystem::path& path) {
    static std::mutex mutex;
    static std::set<std::string> warned;
    std::lock_guard lock(mutex);
    if (!warned.insert(path.string()).second) return {};
    std::vector<std::string> warnings;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code ignored;
        warnings.push_back(path.string() + ": a symbolic link, so the app secret is kept in " +
                           std::filesystem::canonical(path, ignored).string() +
                           "; put the file itself in its place");
    }
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IRGRP | S_IROTH)))
        warnings.push_back(path.string() + ": other users can read the app secret in it; " +
                           "chmod 600 " + path.string() + " makes it yours alone");
    return warnings;
}

std::string Where(std::string_view fileName, int line) {
    std::ostringstream where;
    where << fileName << " line " << line << ": ";
    return where.str();
}

}  // namespace

std::string_view SignMethodName(SignMethod method) {
    switch (method) {
        case SignMethod::kHmacMd5:
            return "hmac";
        case SignMethod::kHmacSha256:
            return "hmac-sha256";
        case SignMethod::kMd5:
            break;
    }
    return "md5";
}

std::filesystem::path SettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : "") / ".config";
    }
    return base / "velmora" / "velmora.conf";
}

LoadedSettings ParseSettings(std::string_view text, std::string_view fileName) {
    LoadedSettings loaded;
    std::string section;
    int lineNumber = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Trim(line.substr(1, line.size() - 2));
            continue;
        }
        // Sections of other programs or later versions are not ours to judge.
        if (section != "api" && section != "site") continue;
        // Problem lines name a key, never a value: a value may be the secret,
        // and so may a line without "=" or a name that is not shaped like a key.
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            const Key* key = FindKey(section, line.substr(0, line.find_first_of(": \t")));
            loaded.problems.push_back(
                Where(fileName, lineNumber) +
                (key ? std::string(key->name) + " has no \"=\"" : "a line without \"=\"") +
                ", ignored");
            continue;
        }
        std::string_view name = Trim(line.substr(0, equals));
        const Key* key = FindKey(section, name);
        if (!key) {
            loaded.problems.push_back(
                Where(fileName, lineNumber) + "unknown key " +
                (ShapedLikeAKey(name) ? "\"" + std::string(name) + "\" " : "(not shown) ") +
                "in [" + section + "], ignored");
            continue;
        }
        // A failed parse leaves the field as it was: the default, unless an
        // earlier line of the same key set it.
        if (key->parse(Unquote(Trim(line.substr(equals + 1))), loaded.settings)) continue;
        loaded.problems.push_back(Where(fileName, lineNumber) + std::string(name) + " is not " +
                                  std::string(key->expected) + "; using the default");
    }
    return loaded;
}

std::string FormatSettings(const Settings& settings) {
    const ApiSettings& api = settings.api;
    std::ostringstream text;
    text << "[api]\n"
         << "app_key = " << api.appKey << "\n"
         << "app_secret = " << api.appSecret << "\n"
         << "adzone_id = " << api.adzoneId << "\n"
         << "gateway = " << api.gateway << "\n"
         << "method = " << api.method << "\n"
         << "sign_method = " << SignMethodName(api.signMethod) << "\n"
         << "rate_per_second = " << api.ratePerSecond << "\n"
         << "has_coupon = " << (api.hasCoupon ? "true" : "false") << "\n"
         << "\n[site]\n"
         << "index = " << (settings.site.index ? "true" : "false") << "\n"
         << "base_url = " << settings.site.baseUrl << "\n";
    return text.str();
}

LoadedSettings LoadSettings(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        LoadedSettings loaded;
        if (errno != ENOENT)
            loaded.problems.push_back(path.string() + ": cannot be read (" + std::strerror(errno) +
                                      "); using the defaults");
        return loaded;
    }
    std::ostringstream text;
    text << file.rdbuf();
    LoadedSettings loaded = ParseSettings(text.str(), path.string());
    if (!loaded.settings.api.appSecret.empty()) {
        KeepSecretsOutOfCoreDumps();
        for (std::string& warning : SecretFileWarnings(path))
            loaded.problems.push_back(std::move(warning));
    }
    return loaded;
}

bool SaveSettings(const Settings& settings, const std::filesystem::path& path, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = path.string() + ": " + what + " (" + std::strerror(errno) + ")";
        return false;
    };
    std::filesystem::path folder = path.parent_path();
    if (!folder.empty() && !std::filesystem::exists(folder)) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        if (::chmod(folder.c_str(), 0700) != 0) return fail("cannot create its folder");
    }
    // Never through a link: one laid at the name, or beside it, cannot catch the secret.
    if (!ReplacePrivateFile(path.string(), FormatSettings(settings)))
        return fail("cannot be written");
    return true;
}

void KeepSecretsOutOfCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace velmora::app
