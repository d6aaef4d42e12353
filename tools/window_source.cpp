#include "tools/window_source.h"

#include <cctype>
#include <limits>

namespace velmora::tools {
namespace {

struct Token {
    enum class Kind { End, Name, Integer, Text, Punct };
    Kind kind = Kind::End;
    std::string text;  // name, text contents, or the punctuation character
    int64_t integer = 0;
    int line = 1;
};

std::string Describe(const Token& t) {
    switch (t.kind) {
        case Token::Kind::End:
            return "end of file";
        case Token::Kind::Name:
            return "'" + t.text + "'";
        case Token::Kind::Integer:
            return "number " + std::to_string(t.integer);
        case Token::Kind::Text:
            return "a text";
        case Token::Kind::Punct:
            return "'" + t.text + "'";
    }
    return "?";
}

class Lexer {
  public:
    explicit Lexer(std::string_view s) : s_(s) {}

    Token Next() {
        SkipSpace();
        Token t;
        t.line = line_;
        if (i_ >= s_.size()) return t;
        char c = s_[i_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = i_;
            while (i_ < s_.size() &&
                   (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_'))
                ++i_;
            t.kind = Token::Kind::Name;
            t.text = std::string(s_.substr(start, i_ - start));
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
            t.kind = Token::Kind::Integer;
            t.integer = Integer();
        } else if (c == '"') {
            t.kind = Token::Kind::Text;
            t.text = Text();
        } else if (std::string_view("{}[]=,").find(c) != std::string_view::npos) {
            t.kind = Token::Kind::Punct;
            t.text = std::string(1, c);
            ++i_;
        } else {
            throw SourceError(line_, std::string("unexpected character '") + c + "'");
        }
        return t;
    }

  private:
    void SkipSpace() {
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == '\n') {
                ++line_;
                ++i_;
            } else if (c == '#') {
                while (i_ < s_.size() && s_[i_] != '\n') ++i_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++i_;
            } else {
                return;
            }
        }
    }

    int64_t Integer() {
        bool negative = s_[i_] == '-';
        if (negative) ++i_;
        int base = 10;
        if (i_ + 1 < s_.size() && s_[i_] == '0' && (s_[i_ + 1] == 'x' || s_[i_ + 1] == 'X')) {
            base = 16;
            i_ += 2;
        }
        uint64_t value = 0;
        size_t digits = 0;
        while (i_ < s_.size()) {
            int d = DigitValue(s_[i_]);
            if (d < 0 || d >= base) break;
            value = value * base + d;
            if (value > 0xFFFFFFFFull) throw SourceError(line_, "number does not fit in 32 bits");
            ++digits;
            ++i_;
        }
        if (digits == 0) throw SourceError(line_, "expected digits");
        if (i_ < s_.size() && std::isalnum(static_cast<unsigned char>(s_[i_])))
            throw SourceError(line_, "malformed number");
        return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    }

    static int DigitValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    std::string Text() {
        int startLine = line_;
        ++i_;  // opening quote
        std::string out;
        while (true) {
            if (i_ >= s_.size() || s_[i_] == '\n')
                throw SourceError(startLine, "text is not closed on its line");
            char c = s_[i_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size()) throw SourceError(startLine, "text is not closed");
            char e = s_[i_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                default:
                    throw SourceError(line_, std::string("unknown escape \\") + e);
            }
        }
    }

    std::string_view s_;
    size_t i_ = 0;
    int line_ = 1;
};

class Parser {
  public:
    explicit Parser(std::string_view s) : lexer_(s) { Advance(); }

    WindowSource File() {
        WindowSource source;
        while (current_.kind != Token::Kind::End) source.windows.push_back(Window());
        return source;
    }

  private:
    void Advance() { current_ = lexer_.Next(); }

    [[noreturn]] void Expected(const std::string& what) const {
        throw SourceError(current_.line, "expected " + what + ", found " + Describe(current_));
    }

    bool IsPunct(char c) const {
        return current_.kind == Token::Kind::Punct && current_.text[0] == c;
    }
    void ExpectPunct(char c) {
        if (!IsPunct(c)) Expected(std::string("'") + c + "'");
        Advance();
    }
    bool IsKeyword(const char* word) const {
        return current_.kind == Token::Kind::Name && current_.text == word;
    }
    void ExpectKeyword(const char* word) {
        if (!IsKeyword(word)) Expected(std::string("'") + word + "'");
        Advance();
    }
    std::string ExpectName(const char* what) {
        if (current_.kind != Token::Kind::Name) Expected(what);
        std::string name = current_.text;
        Advance();
        return name;
    }
    int64_t ExpectInteger(const char* what) {
        if (current_.kind != Token::Kind::Integer) Expected(what);
        int64_t v = current_.integer;
        Advance();
        return v;
    }
    uint32_t ExpectIdentifier(const char* what) {
        int line = current_.line;
        int64_t v = ExpectInteger(what);
        if (v < 0) throw SourceError(line, std::string(what) + " cannot be negative");
        return static_cast<uint32_t>(v);
    }

    SourceWindow Window() {
        SourceWindow w;
        w.line = current_.line;
        ExpectKeyword("window");
        w.id = ExpectIdentifier("a window identifier");
        ExpectPunct('{');
        while (!IsPunct('}')) {
            if (IsKeyword("unit"))
                w.units.push_back(Unit());
            else
                w.properties.push_back(Property());
        }
        ExpectPunct('}');
        return w;
    }

    SourceUnit Unit() {
        SourceUnit u;
        u.line = current_.line;
        ExpectKeyword("unit");
        u.type = ExpectName("a unit type");
        u.id = ExpectIdentifier("a unit identifier");
        if (current_.kind != Token::Kind::Text) Expected("the unit's name as a text");
        u.name = current_.text;
        Advance();
        ExpectPunct('{');
        while (!IsPunct('}')) {
            if (IsKeyword("on")) {
                SourceBinding b;
                b.line = current_.line;
                Advance();
                int64_t event = ExpectInteger("an event number");
                if (event < std::numeric_limits<int32_t>::min() ||
                    event > std::numeric_limits<int32_t>::max())
                    throw SourceError(b.line, "event number out of range");
                b.event = static_cast<int32_t>(event);
                ExpectPunct('=');
                b.handler = ExpectName("a handler name");
                u.bindings.push_back(b);
            } else {
                u.properties.push_back(Property());
            }
        }
        ExpectPunct('}');
        return u;
    }

    SourceProperty Property() {
        SourceProperty p;
        p.line = current_.line;
        p.name = ExpectName("a property name, 'unit' or '}'");
        ExpectPunct('=');
        p.value = Value();
        return p;
    }

    SourceValue Value() {
        SourceValue v;
        v.line = current_.line;
        switch (current_.kind) {
            case Token::Kind::Integer:
                v.kind = SourceValue::Kind::Integer;
                v.integer = current_.integer;
                Advance();
                return v;
            case Token::Kind::Text:
                v.kind = SourceValue::Kind::Text;
                v.text = current_.text;
                Advance();
                return v;
            case Token::Kind::Name:
                v.kind = SourceValue::Kind::Name;
                v.text = current_.text;
                Advance();
                return v;
            default:
                break;
        }
        if (!IsPunct('[')) Expected("a value");
        Advance();
        v.kind = SourceValue::Kind::List;
        while (!IsPunct(']')) {
            v.items.push_back(Value());
            if (!IsPunct(']')) ExpectPunct(',');
        }
        Advance();
        return v;
    }

    Lexer lexer_;
    Token current_;
};

}  // namespace

WindowSource ParseWindowSource(std::string_view text) {
    return Parser(text).File();
}

std::vector<std::string> ParseHandlerList(std::string_view text) {
    static constexpr std::string_view kMacro = "VELMORA_HANDLER(";
    std::vector<std::string> names;
    int line = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view row = text.substr(pos, end - pos);
        ++line;
        pos = end + 1;
        size_t start = row.find_first_not_of(" \t\r");
        if (start == std::string_view::npos || row.substr(start, 2) == "//") continue;
        row = row.substr(start);
        size_t close = row.find(')');
        if (row.substr(0, kMacro.size()) != kMacro || close == std::string_view::npos)
            throw SourceError(line, "expected VELMORA_HANDLER(Name)");
        std::string name(row.substr(kMacro.size(), close - kMacro.size()));
        if (name.empty()) throw SourceError(line, "empty handler name");
        names.push_back(name);
    }
    return names;
}

}  // namespace velmora::tools
