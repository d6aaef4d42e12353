// No strptime here: the fields are read as glibc reads them, each number
// after optional blanks, in its range, the blank in the middle any run of
// blanks.
#include <cctype>

#include "tools/marketsim/date_time.h"

namespace velmora::marketsim {
namespace {

bool ReadNumber(std::string_view& text, size_t digits, int low, int high, int* out) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    int value = 0;
    size_t used = 0;
    while (used < digits && used < text.size() &&
           std::isdigit(static_cast<unsigned char>(text[used])))
        value = value * 10 + (text[used++] - '0');
    if (used == 0 || value < low || value > high) return false;
    text.remove_prefix(used);
    *out = value;
    return true;
}

bool ReadLiteral(std::string_view& text, char literal) {
    if (text.empty() || text.front() != literal) return false;
    text.remove_prefix(1);
    return true;
}

}  // namespace

std::optional<std::tm> ReadDateTime(std::string_view text) {
    std::tm parts{};
    int year = 0, month = 0;
    if (!ReadNumber(text, 4, 0, 9999, &year) || !ReadLiteral(text, '-') ||
        !ReadNumber(text, 2, 1, 12, &month) || !ReadLiteral(text, '-') ||
        !ReadNumber(text, 2, 1, 31, &parts.tm_mday))
        return std::nullopt;
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    if (!ReadNumber(text, 2, 0, 23, &parts.tm_hour) || !ReadLiteral(text, ':') ||
        !ReadNumber(text, 2, 0, 59, &parts.tm_min) || !ReadLiteral(text, ':') ||
        !ReadNumber(text, 2, 0, 61, &parts.tm_sec) || !text.empty())
        return std::nullopt;
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    return parts;
}

std::time_t UtcSeconds(std::tm parts) {
    return _mkgmtime(&parts);
}

}  // namespace velmora::marketsim
