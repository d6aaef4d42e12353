#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

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
    for (SignMethod method : {SignMethod::kMd5, SignMethod::kHmacSha256})
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
    bool secret;
    std::function<bool(std::string_view, Settings&)> parse;
};

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = {
        {"api", "app_key", "", false,
         [](std::string_view v, Settings& s) { return ParseText(v, s.api.appKey); }},
        {"api", "app_secret", "", true,
         [](std::string_view v, Settings& s) { return ParseText(v, s.api.appSecret); }},
        {"api", "adzone_id", "digits", false,
         [](std::string_view v, Settings& s) {
             return v.find_first_not_of("0123456789") == std::string_view::npos &&
                    ParseText(v, s.api.adzoneId);
         }},
        {"api", "gateway", "an http:// or https:// address", false,
         [](std::string_view v, Settings& s) { return ParseAddress(v, s.api.gateway); }},
        {"api", "method", "", false,
         [](std::string_view v, Settings& s) { return !v.empty() && ParseText(v, s.api.method); }},
        {"api", "sign_method", "md5 or hmac-sha256", false,
         [](std::string_view v, Settings& s) { return ParseSignMethod(v, s.api.signMethod); }},
        {"api", "rate_per_second", "a number, 0 or more", false,
         [](std::string_view v, Settings& s) { return ParseRate(v, s.api.ratePerSecond); }},
        {"api", "has_coupon", "true or false", false,
         [](std::string_view v, Settings& s) { return ParseBool(v, s.api.hasCoupon); }},
        {"site", "index", "true or false", false,
         [](std::string_view v, Settings& s) { return ParseBool(v, s.site.index); }},
        {"site", "base_url", "an http:// or https:// address", false,
         [](std::string_view v, Settings& s) { return ParseAddress(v, s.site.baseUrl); }},
    };
    return keys;
}

std::string Where(std::string_view fileName, int line) {
    std::ostringstream where;
    where << fileName << " line " << line << ": ";
    return where.str();
}

}  // namespace

std::string_view SignMethodName(SignMethod method) {
    return method == SignMethod::kHmacSha256 ? "hmac-sha256" : "md5";
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
    const Settings defaults;
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
        size_t equals = line.find('=');
        std::string_view name = Trim(line.substr(0, equals));
        const Key* key = nullptr;
        for (const Key& candidate : Keys())
            if (candidate.section == section && candidate.name == name) key = &candidate;
        if (!key) {
            loaded.problems.push_back(Where(fileName, lineNumber) + "unknown key \"" +
                                      std::string(name) + "\" in [" + section + "], ignored");
            continue;
        }
        std::string_view value =
            equals == std::string_view::npos ? "" : Unquote(Trim(line.substr(equals + 1)));
        // A failed parse leaves the field as it was: the default, unless an
        // earlier line of the same key set it.
        if (key->parse(value, loaded.settings)) continue;
        std::string problem = Where(fileName, lineNumber) + std::string(name);
        if (!key->secret) problem += " = \"" + std::string(value) + "\"";
        problem += " is not " + std::string(key->expected) + "; using the default";
        loaded.problems.push_back(problem);
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
    return ParseSettings(text.str(), path.string());
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
    std::filesystem::path sibling = path;
    sibling += ".new";
    int fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return fail("cannot be written");
    // An older sibling left by a crash may carry wider rights.
    ::fchmod(fd, 0600);
    std::string text = FormatSettings(settings);
    bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                   ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(sibling.c_str(), path.c_str()) != 0) {
        int cause = errno;
        ::unlink(sibling.c_str());
        errno = cause;
        return fail("cannot be written");
    }
    return true;
}

}  // namespace velmora::app
