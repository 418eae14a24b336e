// The tokens of a statement in the programs' SQL dialect.
#pragma once

#include <string>
#include <vector>

namespace engine {

enum class Tok { Ident, QuotedIdent, String, Number, Param, Op, LParen, RParen, Comma, Dot, Semicolon, End };

struct Token {
    Tok kind;
    std::string text;  // identifiers as written; strings without quotes; params without ':'
};

// Splits statement text into tokens, comments dropped, ending with one Tok::End.
// Throws DatabaseError on an unterminated string or name, or a character of no token.
std::vector<Token> tokenize(const std::string& text);

}  // namespace engine
