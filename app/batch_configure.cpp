#include "app/batch_configure.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "app/batch_system.h"
#include "app/settings.h"

namespace velmora::app {
namespace {

// One answer, blanks at its ends dropped (a pasted key often brings one);
// nullopt at the end of the input.
std::optional<std::string> ReadAnswer(bool secret) {
    const bool hide = secret && HideTyping();
    std::string answer;
    const bool read = static_cast<bool>(std::getline(std::cin, answer));
    if (hide) {
        ShowTyping();
        std::fputc('\n', stderr);
    }
    if (!read) return std::nullopt;
    const size_t first = answer.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return answer.substr(first, answer.find_last_not_of(" \t\r") - first + 1);
}

// The answer to one question; `current` stays on an empty answer or at the
// end of the input. A secret is never shown, not even the one kept.
std::string Ask(const char* question, const std::string& current, bool secret) {
    if (secret)
        std::fprintf(stderr, "%s%s: ", question, current.empty() ? "" : " [kept if empty]");
    else
        std::fprintf(stderr, "%s%s%s%s: ", question, current.empty() ? "" : " [", current.c_str(),
                     current.empty() ? "" : "]");
    std::fflush(stderr);
    std::optional<std::string> answer = ReadAnswer(secret);
    return answer && !answer->empty() ? *answer : current;
}

// The ad zone is asked again until the answer is one: a PID pasted whole
// gives its last part, anything else would leave the platform source off.
std::string AskAdzoneId(const std::string& current) {
    for (;;) {
        std::string answer = Ask("adzone_id (or the whole PID)", current, false);
        if (answer == current) return current;
        if (std::optional<std::string> id = AdzoneIdOf(answer)) return *id;
        std::fputs("velmora-batch: an ad-zone id is digits, or a PID mm_<member>_<site>_<adzone>\n",
                   stderr);
    }
}

}  // namespace

int ConfigureApiSettings() {
    const auto path = SettingsPath();
    LoadedSettings loaded = LoadSettings(path);
    for (const std::string& problem : loaded.problems) std::cerr << problem << '\n';
    KeepSecretsOutOfCoreDumps();
    ApiSettings& api = loaded.settings.api;
    api.appKey = Ask("app_key", api.appKey, false);
    api.appSecret = Ask("app_secret", api.appSecret, true);
    api.adzoneId = AskAdzoneId(api.adzoneId);
    std::string error;
    if (!SaveSettings(loaded.settings, path, &error)) {
        std::cerr << "velmora-batch: " << error << '\n';
        return 1;
    }
    std::cerr << "velmora-batch: wrote " << path.string() << '\n';
    return 0;
}

}  // namespace velmora::app
