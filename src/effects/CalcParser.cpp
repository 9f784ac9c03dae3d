#include "effects/CalcParser.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "base/text.h"

namespace {

constexpr int kLineBreak = 4;
constexpr int kEndOfText = 5;
constexpr char kLessEqual = 2, kNotEqual = 1, kGreaterEqual = 3;

const char* const kKeywords[] = {"IF",    "CALL", "WHILE", "BREAK", "EXIT",
                                 "BEGIN", "THEN", "ELSE",  "END",   "CONTINUE"};

bool is_letter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '[' || c == '_' || c == '.' ||
           (c >= 192 && c <= 255);
}
bool is_digit(int c) {
    return c >= '0' && c <= '9';
}

int keyword_index(const std::string& name) {
    const std::string up = upper_text(name);
    for (int k = 0; k < 10; ++k)
        if (up == kKeywords[k]) return k;
    return -1;
}

void limit(const std::string& s) {
    if (s.size() > TCalcParser::kMaxText) throw CalcError("Text too long");
}

bool truthy(const std::string& v) {
    return !v.empty() && v != "0";
}

// Knuth-Morris-Pratt failure links: fail[i] is the length of the longest
// proper border of b[0..i].
std::vector<size_t> borders(const std::string& b) {
    std::vector<size_t> fail(b.size(), 0);
    for (size_t i = 1, k = 0; i < b.size(); ++i) {
        while (k > 0 && b[i] != b[k]) k = fail[k - 1];
        if (b[i] == b[k]) ++k;
        fail[i] = k;
    }
    return fail;
}

size_t last_occurrence(const std::string& a, const std::string& b) {
    const std::vector<size_t> fail = borders(b);
    size_t found = std::string::npos;
    for (size_t i = 0, k = 0; i < a.size(); ++i) {
        while (k > 0 && a[i] != b[k]) k = fail[k - 1];
        if (a[i] == b[k]) ++k;
        if (k == b.size()) {
            found = i + 1 - b.size();
            k = fail[k - 1];
        }
    }
    return found;
}

}  // namespace

// ---- values ----

bool TCalcParser::AsInteger(const std::string& s, int64_t& out) {
    const char* b = s.data();
    const char* e = b + s.size();
    if (b != e && *b == '+' && b + 1 != e && is_digit(b[1])) ++b;
    if (b == e || !(is_digit(*b) || (*b == '-' && b + 1 != e && is_digit(b[1])))) return false;
    int32_t v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e) return false;
    out = v;
    return true;
}

bool TCalcParser::AsReal(const std::string& s, double& out) {
    // [+-] digits [. digits] [(e|E) [+-] digits], at least one mantissa digit.
    size_t i = 0, n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && is_digit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && is_digit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        size_t exp_digits = 0;
        while (i < n && is_digit(s[i])) ++i, ++exp_digits;
        if (exp_digits == 0) return false;
    }
    if (i != n) return false;
    const char* b = s.data();
    if (*b == '+') ++b;
    double v = 0;
    auto [p, ec] = std::from_chars(b, s.data() + n, v);
    if (p != s.data() + n) return false;
    if (ec == std::errc::result_out_of_range) v = (*b == '-') ? -HUGE_VAL : HUGE_VAL;
    out = v;
    return true;
}

bool TCalcParser::IsNumeric(const std::string& s) {
    double d;
    return AsReal(s, d);
}

std::string TCalcParser::RealText(double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    if (v == 0) return "0";
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string s(buf, p);
    // "1e+20" -> "1E20", "1.5e-07" -> "1.5E-7"
    const size_t e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string exp = s.substr(e + 1);
        bool neg = !exp.empty() && exp[0] == '-';
        size_t k = (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) ? 1 : 0;
        while (k + 1 < exp.size() && exp[k] == '0') ++k;
        s = mant + "E" + (neg ? "-" : "") + exp.substr(k);
    }
    return s;
}

namespace {

struct Num {
    bool is_int = false, is_num = false;
    int64_t i = 0;
    double d = 0;
};

Num num(const std::string& s) {
    Num n;
    if (TCalcParser::AsInteger(s, n.i)) {
        n.is_int = n.is_num = true;
        n.d = static_cast<double>(n.i);
    } else {
        n.is_num = TCalcParser::AsReal(s, n.d);
    }
    return n;
}

}  // namespace

std::string TCalcParser::Add(const std::string& a, const std::string& b) {
    const Num x = num(a), y = num(b);
    if (x.is_int && y.is_int) return std::to_string(x.i + y.i);
    if (x.is_num && y.is_num) return RealText(x.d + y.d);
    std::string r = a + b;
    limit(r);
    return r;
}

std::string TCalcParser::Subtract(const std::string& a, const std::string& b) {
    const Num x = num(a), y = num(b);
    if (x.is_int && y.is_int) return std::to_string(x.i - y.i);
    if (x.is_num && y.is_num) return RealText(x.d - y.d);
    std::string r = a;
    const size_t p = b.empty() ? std::string::npos : last_occurrence(a, b);
    if (p != std::string::npos) r.erase(p, b.size());
    return r;
}

std::string TCalcParser::Multiply(const std::string& a, const std::string& b) {
    const Num x = num(a), y = num(b);
    if (x.is_int && y.is_int) return std::to_string(x.i * y.i);
    if (x.is_num && y.is_num) return RealText(x.d * y.d);
    if (x.is_num || !y.is_num) return a;
    // Text times n: the text followed by as many copies as steps of 1 n stays above 0.
    const double copies = y.d > 0 ? std::ceil(y.d) : 0;
    if (a.empty() || copies == 0) return a;
    if ((copies + 1) * static_cast<double>(a.size()) > static_cast<double>(kMaxText))
        throw CalcError("Text too long");
    std::string r;
    r.reserve(a.size() * (static_cast<size_t>(copies) + 1));
    for (size_t k = 0; k <= static_cast<size_t>(copies); ++k) r += a;
    return r;
}

std::string TCalcParser::Divide(const std::string& a, const std::string& b) {
    const Num x = num(a), y = num(b);
    if (x.is_num && y.is_num) {
        if (y.d == 0) throw CalcError("Division by zero");
        return RealText(x.d / y.d);
    }
    if (b.empty()) return a;
    // Removing the first occurrence until none is left is the same as one pass
    // that drops an occurrence as soon as the kept text ends with it: the kept
    // text never holds one. Each kept character remembers its match state.
    const std::vector<size_t> fail = borders(b);
    std::string r;
    std::vector<size_t> state;
    r.reserve(a.size());
    state.reserve(a.size());
    size_t k = 0;
    for (char c : a) {
        while (k > 0 && c != b[k]) k = fail[k - 1];
        if (c == b[k]) ++k;
        r += c;
        state.push_back(k);
        if (k == b.size()) {
            r.resize(r.size() - b.size());
            state.resize(state.size() - b.size());
            k = state.empty() ? 0 : state.back();
        }
    }
    return r;
}

// ---- character stream and tokens ----

int TCalcParser::ch() {
    const auto& src = *Source;
    for (;;) {
        if (Line >= static_cast<int>(src.size())) return kEndOfText;
        if (Column == 0) return kLineBreak;
        const std::string& s = src[Line];
        if (Column - 1 < static_cast<int>(s.size()))
            return static_cast<unsigned char>(s[Column - 1]);
        ++Line;
        Column = 0;
    }
}

void TCalcParser::advance() {
    if (Line < static_cast<int>(Source->size())) ++Column;
}

void TCalcParser::restore(const Mark& m) {
    Column = m.column;
    Line = m.line;
    TokenKind = m.kind;
    Keyword = m.keyword;
    TokenText = m.text;
}

bool TCalcParser::at_op(char c) const {
    return TokenKind == TOKEN_OPERATOR && TokenText.size() == 1 && TokenText[0] == c;
}

void TCalcParser::next() {
    int c;
    for (;;) {
        c = ch();
        if (c == '\t' || c == ' ' || c == kLineBreak) {
            advance();
            continue;
        }
        if (c == '/') {
            const int line = Line;
            advance();
            if (ch() == '/' && Line == line) {
                while (Line == line && ch() != kEndOfText) advance();
                continue;
            }
            TokenKind = TOKEN_OPERATOR;
            TokenText = "/";
            return;
        }
        break;
    }
    TokenText.clear();
    if (c == kEndOfText) {
        TokenKind = TOKEN_END;
        return;
    }
    if (c == '<' || c == '>') {
        advance();
        const int d = ch();
        char op = static_cast<char>(c);
        if (d == '=')
            op = c == '<' ? kLessEqual : kGreaterEqual;
        else if (d == '>' && c == '<')
            op = kNotEqual;
        if (op != c) advance();
        TokenKind = TOKEN_OPERATOR;
        TokenText = std::string(1, op);
        return;
    }
    if (c > 0 && c < 128 && std::strchr("+-&*/=(),;]", c)) {
        advance();
        TokenKind = TOKEN_OPERATOR;
        TokenText = std::string(1, static_cast<char>(c));
        return;
    }
    if (c == '\'' || c == '"') {
        advance();
        read_string(c);
        return;
    }
    if (is_letter(c)) {
        read_identifier();
        return;
    }
    if (is_digit(c)) {
        std::string text;
        while (is_digit(ch()) || ch() == '.') {
            text += static_cast<char>(ch());
            advance();
        }
        limit(text);
        TokenKind = TOKEN_NUMBER;
        TokenText = std::move(text);
        return;
    }
    advance();
    if (c == '{' || c == '}') {
        TokenKind = TOKEN_KEYWORD;
        Keyword = c == '{' ? KW_BEGIN : KW_END;
        TokenText = std::string(1, static_cast<char>(c));
        return;
    }
    TokenKind = TOKEN_NONE;
}

void TCalcParser::read_string(int quote) {
    std::string text;
    for (;;) {
        const int c = ch();
        if (c == kEndOfText) break;
        if (c == quote) {
            advance();
            break;
        }
        if (c == kLineBreak) {
            advance();
            // A continuation line indented by tabs or blanks adds one blank.
            if (ch() == ' ' || ch() == '\t') {
                text += ' ';
                while (ch() == ' ' || ch() == '\t') advance();
            }
            continue;
        }
        text += static_cast<char>(c);
        advance();
        limit(text);
    }
    TokenKind = TOKEN_STRING;
    TokenText = std::move(text);
}

void TCalcParser::read_identifier() {
    // An index part reads its first token, which may be another indexed name.
    DepthGuard guard(depth_);
    std::string name;
    bool indexed = false;
    for (;;) {
        const int c = ch();
        if (c == '[') {
            // Index part: each expression up to "," or "]" is evaluated into the name.
            indexed = true;
            advance();
            name += '[';
            next();
            while (TokenKind != TOKEN_END) {
                if (at_op(']')) {
                    name += ']';
                    break;
                }
                if (at_op(',')) {
                    name += ',';
                    next();
                    continue;
                }
                const int col = Column, line = Line;
                name += expression();
                limit(name);
                if (col == Column && line == Line) next();
            }
            continue;
        }
        if (!is_letter(c) && !is_digit(c)) break;
        name += static_cast<char>(c);
        advance();
        limit(name);
    }
    const int kw = indexed ? -1 : keyword_index(name);
    if (kw >= 0) {
        TokenKind = TOKEN_KEYWORD;
        Keyword = kw;
    } else if (ch() == '(') {
        advance();
        name += '(';
        TokenKind = TOKEN_FUNCTION;
    } else {
        TokenKind = TOKEN_VARIABLE;
    }
    TokenText = std::move(name);
}

// ---- expressions ----

TCalcParser::DepthGuard::DepthGuard(int& d) : depth(d) {
    if (++depth > kMaxDepth) throw CalcError("Nesting too deep");
}

std::string TCalcParser::expression() {
    DepthGuard guard(depth_);
    std::string left = sum();
    if (TokenKind != TOKEN_OPERATOR || TokenText.size() != 1) return left;
    const char op = TokenText[0];
    if (op != '=' && op != '<' && op != '>' && op != kLessEqual && op != kNotEqual &&
        op != kGreaterEqual)
        return left;
    next();
    const std::string right = expression();
    const int cmp = left.compare(right);
    bool r = false;
    switch (op) {
        case '=':
            r = cmp == 0;
            break;
        case '<':
            r = cmp < 0;
            break;
        case '>':
            r = cmp > 0;
            break;
        case kLessEqual:
            r = cmp <= 0;
            break;
        case kGreaterEqual:
            r = cmp >= 0;
            break;
        default:
            r = cmp != 0;
            break;
    }
    return r ? "1" : "0";
}

void TCalcParser::check_time() {
    // Reading the clock on every operation would cost more than the operation.
    if (++operations_ % 64 == 0 && std::chrono::steady_clock::now() - started_ > MaxRunTime)
        throw CalcError("Script runs too long");
}

std::string TCalcParser::sum() {
    std::string v = term();
    while (at_op('+') || at_op('-') || at_op('&')) {
        check_time();
        const char op = TokenText[0];
        next();
        const std::string r = term();
        if (op == '+')
            v = Add(v, r);
        else if (op == '-')
            v = Subtract(v, r);
        else {
            v += r;
            limit(v);
        }
    }
    return v;
}

std::string TCalcParser::term() {
    std::string v = signed_factor();
    while (at_op('*') || at_op('/')) {
        check_time();
        const char op = TokenText[0];
        next();
        const std::string r = signed_factor();
        v = op == '*' ? Multiply(v, r) : Divide(v, r);
    }
    return v;
}

std::string TCalcParser::signed_factor() {
    bool minus = false;
    if (at_op('+')) {
        next();
    } else if (at_op('-')) {
        minus = true;
        next();
    }
    std::string v = factor();
    if (minus && IsNumeric(v)) v.insert(v.begin(), '-');
    return v;
}

std::string TCalcParser::factor() {
    if (TokenKind == TOKEN_FUNCTION || at_op('(')) {
        const bool call = TokenKind == TOKEN_FUNCTION;
        std::string v = call ? TokenText : std::string();
        next();
        while (TokenKind != TOKEN_END && !at_op(')')) {
            if (at_op(',')) {
                if (call) v += ',';
                next();
                continue;
            }
            const int col = Column, line = Line;
            v += expression();
            limit(v);
            if (col == Column && line == Line) next();
        }
        if (at_op(')')) next();
        if (!call) return v;
        v += ')';
        std::string value = "0";
        if (OnFunction) {
            value.clear();
            OnFunction(*this, v, value);
        }
        return value;
    }
    if (TokenKind == TOKEN_VARIABLE) {
        const std::string name = TokenText;
        std::string value = "0";
        if (OnGetVariable) {
            value.clear();
            OnGetVariable(*this, name, value);
        }
        next();
        return value;
    }
    if (TokenKind == TOKEN_NUMBER || TokenKind == TOKEN_STRING) {
        std::string v = std::move(TokenText);
        next();
        return v;
    }
    return {};
}

// ---- statements ----

void TCalcParser::Execute(const std::vector<std::string>& lines, std::string& result) {
    result.clear();
    Source = &lines;
    Line = 0;
    Column = 0;
    Keyword = -1;
    depth_ = 0;
    operations_ = 0;
    started_ = std::chrono::steady_clock::now();
    next();
    while (TokenKind != TOKEN_END)
        if (statement(true, result) == SIG_EXIT) break;
}

TCalcParser::Signal TCalcParser::statement(bool top, std::string& result) {
    DepthGuard guard(depth_);
    check_time();
    if (TokenKind == TOKEN_NONE || at_op(';')) {
        next();
        return SIG_NORMAL;
    }
    if (TokenKind == TOKEN_VARIABLE) {
        const std::string name = TokenText;
        next();
        if (TokenKind != TOKEN_END) next();  // the "=", not checked
        const std::string value = expression();
        if (OnSetVariable) OnSetVariable(*this, name, value);
        if (top) result = value;
        return SIG_NORMAL;
    }
    if (TokenKind == TOKEN_KEYWORD) {
        switch (Keyword) {
            case KW_IF:
                return if_statement();
            case KW_WHILE:
                return while_statement();
            case KW_BEGIN:
                next();
                return block();
            case KW_CALL: {
                next();
                const std::string value = expression();
                std::string discarded;
                if (OnCall) OnCall(*this, value, discarded);
                if (top) result = value;
                return SIG_NORMAL;
            }
            case KW_EXIT:
                next();
                if (top) result = kExitResult;
                return SIG_EXIT;
            case KW_BREAK:
                next();
                return top ? SIG_NORMAL : SIG_BREAK;
            case KW_CONTINUE:
                next();
                return top ? SIG_NORMAL : SIG_CONTINUE;
            case KW_END:
                next();
                return top ? SIG_NORMAL : SIG_END;
            default:
                next();
                return SIG_NORMAL;  // THEN, ELSE out of place
        }
    }
    const int col = Column, line = Line;
    const std::string value = expression();
    if (top) result = value;
    if (col == Column && line == Line && TokenKind != TOKEN_END) next();
    return SIG_NORMAL;
}

// Looks past ";" for the IF's other branch; leaves the position alone when
// the next statement is no branch.
bool TCalcParser::next_branch() {
    if (at_keyword(KW_THEN) || at_keyword(KW_ELSE)) return true;
    if (!at_op(';')) return false;
    const Mark m = mark();
    while (at_op(';')) next();
    if (at_keyword(KW_THEN) || at_keyword(KW_ELSE)) return true;
    restore(m);
    return false;
}

TCalcParser::Signal TCalcParser::if_statement() {
    next();
    const bool cond = truthy(expression());
    bool seen_then = false, seen_else = false;
    std::string unused;
    while (next_branch()) {
        const bool is_then = at_keyword(KW_THEN);
        if ((is_then && seen_then) || (!is_then && seen_else)) break;
        (is_then ? seen_then : seen_else) = true;
        next();
        if (cond == is_then) {
            const Signal s = statement(false, unused);
            if (s == SIG_EXIT || s == SIG_BREAK || s == SIG_CONTINUE) return s;
        } else {
            skip_statement();
        }
        if (seen_then && seen_else) break;
    }
    return SIG_NORMAL;
}

TCalcParser::Signal TCalcParser::while_statement() {
    const int col = Column, line = Line;  // just after the keyword
    next();
    for (;;) {
        const bool cond = truthy(expression());
        next();  // the BEGIN
        if (!cond) {
            skip_block();
            return SIG_NORMAL;
        }
        const Signal s = block();
        if (s == SIG_EXIT) return SIG_EXIT;
        if (s == SIG_BREAK) return SIG_NORMAL;
        if (std::chrono::steady_clock::now() - started_ > MaxRunTime)
            throw CalcError("Script runs too long");
        Column = col;
        Line = line;
        next();
    }
}

TCalcParser::Signal TCalcParser::block() {
    std::string unused;
    while (TokenKind != TOKEN_END) {
        const Signal s = statement(false, unused);
        if (s == SIG_END) return SIG_NORMAL;
        if (s == SIG_EXIT) return s;
        if (s == SIG_BREAK || s == SIG_CONTINUE) {
            skip_block();
            return s;
        }
    }
    return SIG_NORMAL;
}

// Passes over tokens through the END that closes the current block.
void TCalcParser::skip_block() {
    int depth = 1;
    while (TokenKind != TOKEN_END) {
        if (at_keyword(KW_BEGIN)) ++depth;
        if (at_keyword(KW_END) && --depth == 0) {
            next();
            return;
        }
        next();
    }
}

void TCalcParser::skip_statement() {
    DepthGuard guard(depth_);
    if (at_keyword(KW_BEGIN)) {
        next();
        skip_block();
        return;
    }
    if (at_keyword(KW_IF)) {
        next();
        while (TokenKind != TOKEN_END && !at_keyword(KW_THEN) && !at_keyword(KW_ELSE)) {
            if (at_keyword(KW_BEGIN)) {
                next();
                skip_block();
            } else {
                next();
            }
        }
        bool seen_then = false, seen_else = false;
        while (next_branch()) {
            const bool is_then = at_keyword(KW_THEN);
            if ((is_then && seen_then) || (!is_then && seen_else)) break;
            (is_then ? seen_then : seen_else) = true;
            next();
            skip_statement();
        }
        return;
    }
    while (TokenKind != TOKEN_END) {
        if (at_op(';')) {
            next();
            return;
        }
        if (at_keyword(KW_THEN) || at_keyword(KW_ELSE) || at_keyword(KW_END)) return;
        if (at_keyword(KW_BEGIN)) {
            next();
            skip_block();
            continue;
        }
        next();
    }
}
