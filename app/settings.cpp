#include "app/settings.h"

#include <algorithm>
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

#include "app/settings_system.h"
#include "runtime/data_location.h"
#include "runtime/file_replace.h"
#include "runtime/gbk.h"
#include "runtime/native_path.h"

namespace velmora::app {
namespace {

const char kBlanks[] = " \t\r";

std::string_view Trim(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A comment starts at ';' or '#' where a value would start or after a blank,
// so that "a#b" stays one value and "gateway = ... ; simulator" does not.
bool CommentAt(std::string_view line, size_t at, size_t valueStart) {
    return (line[at] == ';' || line[at] == '#') && (at == valueStart || IsBlank(line[at - 1]));
}

// One line of the file as the reader and the rewriter both see it.
struct FileLine {
    enum class Kind { kNothing, kSection, kKey, kNoEquals } kind = Kind::kNothing;
    std::string_view name;   // the section's or the key's
    std::string_view value;  // comment gone, quotes taken off
    size_t valueBegin = 0;   // the value as written, quotes included
    size_t valueEnd = 0;
};

// The value after '=': quoted (QSettings and hand editors both quote at
// times), its closing quote the first one that only blanks or a comment
// follow; else up to a comment.
void ReadValue(std::string_view line, size_t from, FileLine& out) {
    const size_t stop = line.find_last_not_of(kBlanks) + 1;
    size_t begin = std::min(line.find_first_not_of(kBlanks, from), stop);
    if (begin < stop && line[begin] == '"') {
        for (size_t quote = line.find('"', begin + 1); quote != std::string_view::npos;
             quote = line.find('"', quote + 1)) {
            size_t next = std::min(line.find_first_not_of(kBlanks, quote + 1), stop);
            if (next == stop || CommentAt(line, next, begin)) {
                out.valueBegin = begin, out.valueEnd = quote + 1;
                out.value = line.substr(begin + 1, quote - begin - 1);
                return;
            }
        }
    }
    size_t end = begin;
    for (size_t at = begin; at < stop && !CommentAt(line, at, begin); ++at)
        if (!IsBlank(line[at])) end = at + 1;
    out.valueBegin = begin, out.valueEnd = end;
    out.value = line.substr(begin, end - begin);
}

FileLine ReadLine(std::string_view line) {
    FileLine read;
    std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';') return read;
    size_t close = trimmed.find(']');
    if (trimmed.front() == '[' && close != std::string_view::npos) {
        std::string_view after = Trim(trimmed.substr(close + 1));
        if (after.empty() || after.front() == ';' || after.front() == '#') {
            read.kind = FileLine::Kind::kSection;
            read.name = Trim(trimmed.substr(1, close - 1));
            return read;
        }
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        read.kind = FileLine::Kind::kNoEquals;
        read.name = trimmed.substr(0, trimmed.find_first_of(": \t"));
        return read;
    }
    read.kind = FileLine::Kind::kKey;
    read.name = Trim(line.substr(0, equals));
    ReadValue(line, equals + 1, read);
    return read;
}

// Calls `visit(line, offset)` for each line, without its '\n'.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    for (size_t offset = 0; offset < text.size();) {
        size_t end = std::min(text.find('\n', offset), text.size());
        visit(text.substr(offset, end - offset), offset);
        offset = end + 1;
    }
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

bool HasControlCharacters(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f) return true;
    return false;
}

// A folder of the template root: one name the runtime can hold in GBK, with
// none of the separators its file commands know.
bool ParseTemplateName(std::string_view value, std::string& out) {
    if (value.size() > 255 || value == "." || value == ".." || HasControlCharacters(value) ||
        value.find_first_of("/\\") != std::string_view::npos || !Utf8ToGbk(value))
        return false;
    return ParseText(value, out);
}

// Absolute, or from the home folder: a timer's working folder is nobody's choice.
bool ParseFolder(std::string_view value, std::string& out) {
    std::string folder(value);
    if (value == "~" || value.starts_with("~/")) {
        const std::string home = HomeFolder();
        if (home.empty()) return false;
        folder = home + folder.substr(1);  // a relative home is refused below
    }
    // On Windows a drive's path ("D:\pages") is absolute too.
    std::string slashed = folder;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (!folder.empty() && folder.front() != '/' && !IsAbsoluteNativePath(slashed)) return false;
    if (folder.size() > 4095 || HasControlCharacters(folder) || !Utf8ToUtf16(folder)) return false;
    out = std::move(folder);
    return true;
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
        {"api", "adzone_id", "digits or a PID (mm_<member>_<site>_<adzone>)",
         [](std::string_view v, Settings& s) {
             std::optional<std::string> id = AdzoneIdOf(v);
             return id && ParseText(*id, s.api.adzoneId);
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
        {"site", "template", "a template folder's name",
         [](std::string_view v, Settings& s) { return ParseTemplateName(v, s.site.templateName); }},
        {"site", "out", "an absolute folder (/... or ~/...)",
         [](std::string_view v, Settings& s) { return ParseFolder(v, s.site.outFolder); }},
    };
    return keys;
}

// The key of that name, in whichever section it belongs.
const Key* FindKey(std::string_view name) {
    for (const Key& key : Keys())
        if (key.name == name) return &key;
    return nullptr;
}

bool IsOurSection(std::string_view section) {
    return section == "api" || section == "site";
}

// One key's value as the file holds it.
struct Entry {
    std::string_view section;
    std::string_view name;
    std::string text;
};

std::string NumberText(double number) {
    std::ostringstream text;
    text << number;
    return text.str();
}

// Quoted when a blank at its ends, a quote or a comment sign would be lost.
std::string ValueText(std::string value) {
    if (value.empty() || (value.find_first_of(";#\"") == std::string::npos &&
                          !IsBlank(value.front()) && !IsBlank(value.back())))
        return value;
    return "\"" + value + "\"";
}

// Every key, in the order of a new file.
std::vector<Entry> Entries(const Settings& settings) {
    const ApiSettings& api = settings.api;
    const SiteSettings& site = settings.site;
    std::vector<Entry> entries = {
        {"api", "app_key", api.appKey},
        {"api", "app_secret", api.appSecret},
        {"api", "adzone_id", api.adzoneId},
        {"api", "gateway", api.gateway},
        {"api", "method", api.method},
        {"api", "sign_method", std::string(SignMethodName(api.signMethod))},
        {"api", "rate_per_second", NumberText(api.ratePerSecond)},
        {"api", "has_coupon", api.hasCoupon ? "true" : "false"},
        {"site", "index", site.index ? "true" : "false"},
        {"site", "base_url", site.baseUrl},
        {"site", "template", site.templateName},
        {"site", "out", site.outFolder},
    };
    for (Entry& entry : entries) entry.text = ValueText(std::move(entry.text));
    return entries;
}

// Sets one key's value in the text; see UpdateSettingsText.
void SetValue(std::string& text, const Entry& entry) {
    const std::string_view eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string_view section;
    size_t valueBegin = std::string::npos, valueEnd = 0;
    size_t sectionEnd = std::string::npos;  // after the section's last line of its own
    ForEachLine(text, [&](std::string_view line, size_t offset) {
        FileLine read = ReadLine(line);
        if (read.kind == FileLine::Kind::kSection) section = read.name;
        if (section != entry.section || read.kind == FileLine::Kind::kNothing) return;
        sectionEnd = offset + line.size() - (line.ends_with('\r') ? 1 : 0);
        if (read.kind == FileLine::Kind::kKey && read.name == entry.name)
            valueBegin = offset + read.valueBegin, valueEnd = offset + read.valueEnd;
    });
    std::string keyLine = std::string(entry.name) + " = " + entry.text;
    if (valueBegin != std::string::npos) {
        std::string value = entry.text;
        if (valueBegin == valueEnd && !value.empty()) {
            // An empty value: keep it apart from the '=' and from a comment.
            if (!IsBlank(text[valueBegin - 1])) value.insert(0, " ");
            if (valueEnd < text.size() && (text[valueEnd] == ';' || text[valueEnd] == '#'))
                value += ' ';
        }
        text.replace(valueBegin, valueEnd - valueBegin, value);
    } else if (sectionEnd != std::string::npos) {
        text.insert(sectionEnd, std::string(eol) + keyLine);
    } else {
        if (!text.empty() && text.back() != '\n') text += eol;
        if (!text.empty()) text += eol;
        text +=
            "[" + std::string(entry.section) + "]" + std::string(eol) + keyLine + std::string(eol);
    }
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
    if (IsLinkAt(path)) {
        std::error_code ignored;
        warnings.push_back(path.string() + ": a symbolic link, so the app secret is kept in " +
                           std::filesystem::canonical(path, ignored).string() +
                           "; put the file itself in its place");
    }
    if (OthersCanRead(path))
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
    return SettingsBaseFolder() / "velmora" / "velmora.conf";
}

std::optional<std::string> AdzoneIdOf(std::string_view text) {
    auto digits = [](std::string_view part) {
        return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (digits(text)) return std::string(text);
    if (!text.starts_with("mm_")) return std::nullopt;
    std::string_view parts = text.substr(3);
    for (int i = 0; i < 2; ++i) {
        size_t cut = parts.find('_');
        if (cut == 0 || cut == std::string_view::npos || !digits(parts.substr(0, cut)))
            return std::nullopt;
        parts.remove_prefix(cut + 1);
    }
    if (parts.empty() || !digits(parts)) return std::nullopt;
    return std::string(parts);
}

LoadedSettings ParseSettings(std::string_view text, std::string_view fileName) {
    LoadedSettings loaded;
    std::string section;
    int lineNumber = 0;
    ForEachLine(text, [&](std::string_view raw, size_t) {
        ++lineNumber;
        FileLine line = ReadLine(raw);
        if (line.kind == FileLine::Kind::kNothing) return;
        if (line.kind == FileLine::Kind::kSection) {
            section = line.name;
            return;
        }
        // Sections of other programs or later versions are not ours to judge;
        // a key of ours before any section is a slip worth a line.
        const Key* key = FindKey(line.name);
        if (!IsOurSection(section) && !(section.empty() && key)) return;
        // Problem lines name a key, never a value: a value may be the secret,
        // and so may a line without "=" or a name that is not shaped like a key.
        if (line.kind == FileLine::Kind::kNoEquals) {
            loaded.problems.push_back(
                Where(fileName, lineNumber) +
                (key ? std::string(key->name) + " has no \"=\"" : "a line without \"=\"") +
                ", ignored");
            return;
        }
        if (key && key->section != section) {
            loaded.problems.push_back(
                Where(fileName, lineNumber) + "key \"" + std::string(key->name) +
                "\" belongs in [" + std::string(key->section) + "], not " +
                (section.empty() ? "before any section" : "[" + section + "]") + "; ignored");
            return;
        }
        if (!key) {
            loaded.problems.push_back(Where(fileName, lineNumber) + "unknown key " +
                                      (ShapedLikeAKey(line.name)
                                           ? "\"" + std::string(line.name) + "\" "
                                           : "(not shown) ") +
                                      "in [" + section + "], ignored");
            return;
        }
        // A failed parse leaves the field as it was: the default, unless an
        // earlier line of the same key set it.
        if (key->parse(line.value, loaded.settings)) return;
        loaded.problems.push_back(Where(fileName, lineNumber) + std::string(key->name) +
                                  " is not " + std::string(key->expected) + "; using the default");
    });
    return loaded;
}

std::string FormatSettings(const Settings& settings) {
    std::string text;
    std::string_view section;
    for (const Entry& entry : Entries(settings)) {
        if (entry.section != section) {
            text += (text.empty() ? "[" : "\n[") + std::string(entry.section) + "]\n";
            section = entry.section;
        }
        text += std::string(entry.name) + " = " + entry.text + "\n";
    }
    return text;
}

std::string UpdateSettingsText(std::string_view text, const Settings& settings) {
    const std::vector<Entry> before = Entries(ParseSettings(text, "").settings);
    const std::vector<Entry> after = Entries(settings);
    std::string updated(text);
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i].text != before[i].text) SetValue(updated, after[i]);
    return updated;
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
    if (!MakeSettingsFolder(path.parent_path())) return fail("cannot create its folder");
    std::ifstream file(path, std::ios::binary);
    if (!file && errno != ENOENT) return fail("cannot be read, so it is left as it is");
    std::ostringstream old;
    if (file) old << file.rdbuf();
    const std::string text =
        file ? UpdateSettingsText(old.str(), settings) : FormatSettings(settings);
    // Windows cannot put a file in the place of one still open.
    file.close();
    // Never through a link: one laid at the name, or beside it, cannot catch the secret.
    if (!ReplacePrivateFile(NativePathOf(path), text)) return fail("cannot be written");
    return true;
}

}  // namespace velmora::app
