#include "sql_tokens.h"

#include <cctype>

#include "error.h"

namespace engine {
namespace {

bool identStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == '#' || c == '@' || c >= 0x80; }
bool identPart(unsigned char c) { return std::isalnum(c) || c == '_' || c == '#' || c == '@' || c == '$' || c >= 0x80; }
bool endsParamName(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n';
}

}  // namespace

std::vector<Token> tokenize(const std::string& s) {
    std::vector<Token> out;
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (std::isspace(c)) { ++i; continue; }
        if (c == '-' && i + 1 < n && s[i + 1] == '-') {
            while (i < n && s[i] != '\n' && s[i] != '\r') ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const size_t e = s.find("*/", i + 2);
            i = e == std::string::npos ? n : e + 2;
            continue;
        }
        if (c == '\'') {
            std::string v;
            ++i;
            while (true) {
                if (i >= n) throw DatabaseError("Unterminated string in statement");
                if (s[i] == '\'') {
                    if (i + 1 < n && s[i + 1] == '\'') { v += '\''; i += 2; continue; }
                    ++i;
                    break;
                }
                v += s[i++];
            }
            out.push_back({Tok::String, v});
            continue;
        }
        if (c == '"' || c == '[') {
            const char close = c == '"' ? '"' : ']';
            const size_t e = s.find(close, i + 1);
            if (e == std::string::npos) throw DatabaseError("Unterminated quoted name in statement");
            out.push_back({Tok::QuotedIdent, s.substr(i + 1, e - i - 1)});
            i = e + 1;
            continue;
        }
        if (c == ':') {
            if (i + 1 < n && s[i + 1] == ':') {  // "::" is a plain colon
                out.push_back({Tok::Op, ":"});
                i += 2;
                continue;
            }
            size_t j = i + 1;
            while (j < n && !endsParamName(s[j])) ++j;
            if (j == i + 1) { out.push_back({Tok::Op, ":"}); ++i; continue; }
            out.push_back({Tok::Param, s.substr(i + 1, j - i - 1)});
            i = j;
            continue;
        }
        if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            size_t j = i;
            while (j < n && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
            if (j < n && (s[j] == 'e' || s[j] == 'E')) {
                size_t k = j + 1;
                if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
                if (k < n && std::isdigit(static_cast<unsigned char>(s[k]))) {
                    j = k;
                    while (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
                }
            }
            out.push_back({Tok::Number, s.substr(i, j - i)});
            i = j;
            continue;
        }
        if (identStart(c)) {
            size_t j = i;
            while (j < n && identPart(static_cast<unsigned char>(s[j]))) ++j;
            out.push_back({Tok::Ident, s.substr(i, j - i)});
            i = j;
            continue;
        }
        switch (c) {
            case '(': out.push_back({Tok::LParen, "("}); ++i; continue;
            case ')': out.push_back({Tok::RParen, ")"}); ++i; continue;
            case ',': out.push_back({Tok::Comma, ","}); ++i; continue;
            case '.': out.push_back({Tok::Dot, "."}); ++i; continue;
            case ';': out.push_back({Tok::Semicolon, ";"}); ++i; continue;
            default: break;
        }
        static const char* twoChar[] = {"<>", "!=", "<=", ">=", "||", "!<", "!>"};
        bool matched = false;
        for (const char* op : twoChar) {
            if (s.compare(i, 2, op) == 0) {
                out.push_back({Tok::Op, op});
                i += 2;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        if (std::string("=<>+-*/%").find(static_cast<char>(c)) != std::string::npos) {
            out.push_back({Tok::Op, std::string(1, static_cast<char>(c))});
            ++i;
            continue;
        }
        throw DatabaseError(std::string("Invalid character '") + static_cast<char>(c) + "' in statement");
    }
    out.push_back({Tok::End, ""});
    return out;
}

}  // namespace engine
