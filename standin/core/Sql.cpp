#include "standin/core/Sql.h"

#include <cctype>

#include "standin/core/Ini.h"

namespace standin {
namespace {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#'; }
bool IsWordPart(char c) { return IsWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$'; }

// Reads a quoted run starting after its opening character; a doubled closing character stands for itself.
std::size_t ReadQuoted(std::string_view sql, std::size_t i, char close, std::string& value) {
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (i + 1 < sql.size() && sql[i + 1] == close) {
                value += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        value += sql[i++];
    }
    return i;
}

bool IsWord(const Token& token, std::string_view word) {
    return token.kind == Token::kWord && EqualsNoCase(token.text, word);
}
bool IsPunct(const Token& token, char c) {
    return token.kind == Token::kPunct && token.text.size() == 1 && token.text[0] == c;
}
bool IsName(const Token& token) { return token.kind == Token::kWord || token.kind == Token::kQuotedName; }

std::string Quote(const std::string& value, char quote) {
    std::string out(1, quote);
    for (char c : value) {
        out += c;
        if (c == quote) out += quote;
    }
    return out + quote;
}

}  // namespace

std::vector<Token> Tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n') ++i;
            continue;
        }
        if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            std::size_t close = sql.find("*/", i + 2);
            i = close == std::string_view::npos ? sql.size() : close + 2;
            continue;
        }
        Token token;
        token.begin = i;
        if ((c == 'N' || c == 'n') && i + 1 < sql.size() && sql[i + 1] == '\'') {
            token.kind = Token::kString;
            i = ReadQuoted(sql, i + 2, '\'', token.text);
        } else if (c == '\'') {
            token.kind = Token::kString;
            i = ReadQuoted(sql, i + 1, '\'', token.text);
        } else if (c == '[') {
            token.kind = Token::kQuotedName;
            i = ReadQuoted(sql, i + 1, ']', token.text);
        } else if (c == '"') {
            token.kind = Token::kQuotedName;
            i = ReadQuoted(sql, i + 1, '"', token.text);
        } else if (IsWordStart(c)) {
            token.kind = Token::kWord;
            while (i < sql.size() && IsWordPart(sql[i])) token.text += sql[i++];
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            token.kind = Token::kNumber;
            while (i < sql.size() && (std::isdigit(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                token.text += sql[i++];
        } else {
            token.kind = Token::kPunct;
            token.text = std::string(1, c);
            ++i;
        }
        token.end = i;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

namespace {

// Characters that run on into a neighbouring token: name characters (bytes above 127 included) and quotes.
bool Sticky(char c) {
    auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || std::isalnum(b) || c == '_' || c == '@' || c == '#' || c == '$' || c == '\'' || c == '"';
}

bool IsDot(const std::vector<Token>& tokens, std::size_t t) { return t < tokens.size() && IsPunct(tokens[t], '.'); }
bool IsNameAt(const std::vector<Token>& tokens, std::size_t t) { return t < tokens.size() && IsName(tokens[t]); }

// A name of one or more parts, a.b.c; an empty part (master..t) is nullptr.
struct MultiPartName {
    std::vector<const Token*> parts;
    std::size_t next = 0;  // the token after it
};

MultiPartName ReadName(const std::vector<Token>& tokens, std::size_t t) {
    MultiPartName name{{&tokens[t]}, t + 1};
    while (IsDot(tokens, name.next)) {
        if (IsNameAt(tokens, name.next + 1)) {
            name.parts.push_back(&tokens[name.next + 1]);
            name.next += 2;
        } else if (IsDot(tokens, name.next + 1) && IsNameAt(tokens, name.next + 2)) {
            name.parts.push_back(nullptr);
            name.parts.push_back(&tokens[name.next + 2]);
            name.next += 3;
        } else {
            break;
        }
    }
    return name;
}

// The parts SQLite knows: the last dbo or empty schema goes with everything before it; sys stays, as the
// attached catalogue, without what stands before it. No empty part is left.
std::vector<const Token*> SqliteParts(const std::vector<const Token*>& parts) {
    for (std::size_t i = parts.size() - 1; i-- > 0;) {
        if (!parts[i] || EqualsNoCase(parts[i]->text, "dbo")) return {parts.begin() + i + 1, parts.end()};
        if (EqualsNoCase(parts[i]->text, "sys")) return {parts.begin() + i, parts.end()};
    }
    return parts;
}

}  // namespace

std::string ToSqlite(std::string_view sql) {
    std::vector<Token> tokens = Tokenize(sql);
    std::string out;
    std::size_t copied = 0;      // the end of the last token written
    bool lastRewritten = false;  // whether the text last written differs from the statement's own
    auto write = [&](std::size_t begin, std::size_t end, const std::string& piece, bool rewritten) {
        out.append(sql.substr(copied, begin - copied));
        // A rewritten piece must not run on into its neighbour: '' or "" would join two quoted tokens into one.
        if (begin == copied && (rewritten || lastRewritten) && !out.empty() && !piece.empty() && Sticky(out.back()) &&
            Sticky(piece.front()))
            out += ' ';
        out += piece;
        copied = end;
        lastRewritten = rewritten;
    };
    for (std::size_t t = 0; t < tokens.size();) {
        const Token& token = tokens[t];
        if (IsName(token)) {
            MultiPartName name = ReadName(tokens, t);
            std::vector<const Token*> parts = SqliteParts(name.parts);
            const std::size_t end = tokens[name.next - 1].end;
            bool rewritten = parts.size() != name.parts.size();
            std::string piece;
            for (const Token* part : parts) {
                if (!piece.empty()) piece += '.';
                rewritten = rewritten || part->kind == Token::kQuotedName;
                piece += part->kind == Token::kQuotedName ? Quote(part->text, '"') : part->text;
            }
            if (!rewritten) piece = std::string(sql.substr(token.begin, end - token.begin));
            write(token.begin, end, piece, rewritten);
            t = name.next;
        } else if (token.kind == Token::kString) {
            write(token.begin, token.end, Quote(token.text, '\''), true);
            ++t;
        } else {
            write(token.begin, token.end, std::string(sql.substr(token.begin, token.end - token.begin)), false);
            ++t;
        }
    }
    out.append(sql.substr(copied));
    return out;
}

ServerCommand ParseServerCommand(std::string_view sql) {
    std::vector<Token> tokens = Tokenize(sql);
    ServerCommand command;
    std::size_t t = 0;
    if (t < tokens.size() && (IsWord(tokens[t], "exec") || IsWord(tokens[t], "execute"))) ++t;
    auto at = [&](std::size_t i) -> const Token& {
        static const Token none{Token::kPunct, "", 0, 0};
        return i < tokens.size() ? tokens[i] : none;
    };
    auto isNameAt = [&](std::size_t i) { return i < tokens.size() && IsName(tokens[i]); };

    if (IsWord(at(t), "sp_detach_db")) {
        std::size_t v = t + 1;
        if (IsWord(at(v), "@dbname") && IsPunct(at(v + 1), '=')) v += 2;
        if (at(v).kind == Token::kString || isNameAt(v)) {
            command.kind = ServerCommand::kDetach;
            command.database = at(v).text;
        }
        return command;
    }
    if (IsWord(at(t), "alter") && IsWord(at(t + 1), "database") && isNameAt(t + 2) && IsWord(at(t + 3), "set")) {
        if (IsWord(at(t + 4), "single_user")) command.kind = ServerCommand::kSingleUser;
        if (IsWord(at(t + 4), "multi_user")) command.kind = ServerCommand::kMultiUser;
        if (command.kind != ServerCommand::kNone) command.database = at(t + 2).text;
        return command;
    }
    if (IsWord(at(t), "drop") && IsWord(at(t + 1), "database") && isNameAt(t + 2)) {
        command.kind = ServerCommand::kDrop;
        command.database = at(t + 2).text;
        return command;
    }
    if (IsWord(at(t), "create") && IsWord(at(t + 1), "database") && isNameAt(t + 2)) {
        command.database = at(t + 2).text;
        command.kind = ServerCommand::kCreate;
        for (std::size_t i = t + 3; i < tokens.size(); ++i) {
            if (command.dataFile.empty() && IsWord(tokens[i], "filename") && IsPunct(at(i + 1), '=') &&
                at(i + 2).kind == Token::kString)
                command.dataFile = at(i + 2).text;
            if (IsWord(tokens[i], "for") && (IsWord(at(i + 1), "attach") || IsWord(at(i + 1), "attach_rebuild_log")))
                command.kind = ServerCommand::kAttach;
        }
        return command;
    }
    return command;
}

std::string InsertTable(std::string_view sql) {
    std::vector<Token> tokens = Tokenize(sql);
    if (tokens.size() < 3 || !IsWord(tokens[0], "insert")) return {};
    std::size_t t = IsWord(tokens[1], "into") ? 2 : 1;
    std::string table;
    while (t < tokens.size() && IsName(tokens[t])) {
        table = tokens[t].text;
        if (t + 1 < tokens.size() && IsPunct(tokens[t + 1], '.')) {
            t += 2;
            continue;
        }
        break;
    }
    return table;
}

bool UsesSysViews(std::string_view sql) {
    std::vector<Token> tokens = Tokenize(sql);
    for (std::size_t t = 0; t + 1 < tokens.size(); ++t)
        if (IsName(tokens[t]) && EqualsNoCase(tokens[t].text, "sys") && IsPunct(tokens[t + 1], '.')) return true;
    return false;
}

}  // namespace standin
