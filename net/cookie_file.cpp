#include "net/cookie_file.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "runtime/file_replace.h"
#include "runtime/native_path.h"

namespace velmora::net {
namespace {

constexpr size_t kFields = 8;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1))
        fields.push_back(line.substr(0, tab));
    fields.push_back(line);
    return fields;
}

}  // namespace

std::string FormatCookies(const std::vector<Cookie>& cookies) {
    std::ostringstream out;
    for (const Cookie& c : cookies) {
        out << c.name << '\t' << c.value << '\t' << c.domain << '\t' << c.path << '\t' << c.hostOnly
            << '\t' << c.secure << '\t' << c.httpOnly << '\t';
        if (c.expires)
            out << std::chrono::duration_cast<std::chrono::seconds>(c.expires->time_since_epoch())
                       .count();
        out << '\n';
    }
    return out.str();
}

std::vector<Cookie> ParseCookies(std::string_view text) {
    std::vector<Cookie> cookies;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string_view> f = Fields(line);
        if (f.size() != kFields || f[0].empty() || f[2].empty()) continue;
        Cookie c;
        c.name = f[0];
        c.value = f[1];
        c.domain = f[2];
        c.path = f[3];
        c.hostOnly = f[4] == "1";
        c.secure = f[5] == "1";
        c.httpOnly = f[6] == "1";
        if (!f[7].empty()) {
            long long seconds = 0;
            auto [end, error] = std::from_chars(f[7].data(), f[7].data() + f[7].size(), seconds);
            if (error != std::errc() || end != f[7].data() + f[7].size()) continue;
            c.expires = CookieClock::time_point(std::chrono::seconds(seconds));
        }
        cookies.push_back(std::move(c));
    }
    return cookies;
}

bool SaveCookieFile(const std::string& path, const std::vector<Cookie>& cookies) {
    return ReplacePrivateFile(path, FormatCookies(cookies));
}

std::vector<Cookie> LoadCookieFile(const std::string& path) {
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    return ParseCookies(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

int KeepCookieFile(CookieStore& store, const std::string& path) {
    for (Cookie& cookie : LoadCookieFile(path)) store.Set(std::move(cookie));
    return store.AddChangesListener([&store, path](const CookieChanges&) {
        static std::mutex saving;
        std::lock_guard lock(saving);
        SaveCookieFile(path, store.All());
    });
}

}  // namespace velmora::net
