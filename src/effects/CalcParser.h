// TCalcParser: the string-valued script interpreter of the visual effects.
// It reads the text token by token and runs it directly; variables,
// functions and CALL are handed to the owner's handlers.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Ends a run: division by zero, a run that takes too long, nesting or text
// beyond the limits. The caller's guard absorbs it.
class CalcError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum : uint8_t {
    TOKEN_NONE = 0,
    TOKEN_OPERATOR = 1,
    TOKEN_VARIABLE = 2,
    TOKEN_NUMBER = 3,
    TOKEN_FUNCTION = 4,
    TOKEN_KEYWORD = 5,
    TOKEN_STRING = 6,
    TOKEN_END = 7,
};

enum : int {
    KW_IF = 0,
    KW_CALL = 1,
    KW_WHILE = 2,
    KW_BREAK = 3,
    KW_EXIT = 4,
    KW_BEGIN = 5,
    KW_THEN = 6,
    KW_ELSE = 7,
    KW_END = 8,
    KW_CONTINUE = 9,
};

class TCalcParser {
  public:
    using GetVariableFn =
        std::function<void(TCalcParser&, const std::string& name, std::string& value)>;
    using SetVariableFn =
        std::function<void(TCalcParser&, const std::string& name, const std::string& value)>;
    using FunctionFn =
        std::function<void(TCalcParser&, const std::string& call, std::string& value)>;
    using CallFn = std::function<void(TCalcParser&, const std::string& value, std::string& out)>;

    // Marks a run stopped by EXIT at top level.
    static constexpr const char* kExitResult = "#1EXIT#2";
    static constexpr int kMaxDepth = 100;
    static constexpr size_t kMaxText = 1u << 20;

    const std::vector<std::string>* Source = nullptr;
    int Keyword = -1;
    int Column = 0;
    int Line = 0;
    uint8_t TokenKind = TOKEN_NONE;
    std::string TokenText;

    GetVariableFn OnGetVariable;
    FunctionFn OnFunction;
    CallFn OnCall;
    SetVariableFn OnSetVariable;

    // A run that takes longer than this is stopped with a CalcError, checked
    // between statements, loop turns and operators.
    std::chrono::milliseconds MaxRunTime{2000};

    // Throws CalcError when the run fails; result then keeps what it had.
    void Execute(const std::vector<std::string>& lines, std::string& result);

    // Value rules shared with the effect renderer.
    static bool AsInteger(const std::string& s, int64_t& out);  // signed 32-bit range
    static bool AsReal(const std::string& s, double& out);      // "." separator
    static bool IsNumeric(const std::string& s);
    static std::string RealText(double v);  // general format, 15 significant digits

    static std::string Add(const std::string& a, const std::string& b);
    static std::string Subtract(const std::string& a, const std::string& b);
    static std::string Multiply(const std::string& a, const std::string& b);
    static std::string Divide(const std::string& a, const std::string& b);

  private:
    enum Signal { SIG_NORMAL, SIG_EXIT, SIG_BREAK, SIG_END, SIG_CONTINUE };
    struct Mark {
        int column, line;
        uint8_t kind;
        int keyword;
        std::string text;
    };

    int ch();
    void advance();
    void next();
    void read_identifier();
    void read_string(int quote);
    Mark mark() const { return {Column, Line, TokenKind, Keyword, TokenText}; }
    void restore(const Mark& m);
    bool at_op(char c) const;
    bool at_keyword(int k) const { return TokenKind == TOKEN_KEYWORD && Keyword == k; }

    std::string expression();
    std::string sum();
    std::string term();
    std::string signed_factor();
    std::string factor();

    Signal statement(bool top, std::string& result);
    Signal if_statement();
    Signal while_statement();
    Signal block();
    void skip_block();
    void skip_statement();
    bool next_branch();

    struct DepthGuard {
        explicit DepthGuard(int& d);
        ~DepthGuard() { --depth; }
        int& depth;
    };

    void check_time();

    int depth_ = 0;
    unsigned operations_ = 0;
    std::chrono::steady_clock::time_point started_;
};
