#include "app/batch_configure.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/settings.h"

namespace velmora::app {
namespace {

// The answer to one question; `current` stays on an empty answer or at the
// end of the input.
std::string Ask(const char* question, const std::string& current, bool secret) {
    if (secret)
        std::fprintf(stderr, "%s%s: ", question, current.empty() ? "" : " [kept if empty]");
    else
        std::fprintf(stderr, "%s%s%s%s: ", question, current.empty() ? "" : " [", current.c_str(),
                     current.empty() ? "" : "]");
    std::fflush(stderr);
    termios saved{};
    const bool hide = secret && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (hide) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string answer;
    std::getline(std::cin, answer);
    if (hide) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    return answer.empty() ? current : answer;
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
    api.adzoneId = Ask("adzone_id", api.adzoneId, false);
    std::string error;
    if (!SaveSettings(loaded.settings, path, &error)) {
        std::cerr << "velmora-batch: " << error << '\n';
        return 1;
    }
    std::cerr << "velmora-batch: wrote " << path.string() << '\n';
    return 0;
}

}  // namespace velmora::app
