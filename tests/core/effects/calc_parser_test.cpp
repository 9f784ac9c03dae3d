#include "effects/CalcParser.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

// A parser wired to a plain variable map and a journal of function calls.
struct Harness {
    TCalcParser p;
    std::map<std::string, std::string> vars;
    std::vector<std::string> calls, call_values;

    Harness() {
        p.OnGetVariable = [this](TCalcParser&, const std::string& n, std::string& v) {
            auto it = vars.find(n);
            v = it == vars.end() ? "" : it->second;
        };
        p.OnSetVariable = [this](TCalcParser&, const std::string& n, const std::string& v) {
            vars[n] = v;
        };
        p.OnFunction = [this](TCalcParser&, const std::string& call, std::string& v) {
            calls.push_back(call);
            v = "f";
        };
        p.OnCall = [this](TCalcParser&, const std::string& v, std::string& out) {
            call_values.push_back(v);
            out = "ignored";
        };
    }
    std::string run(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        std::string result = "untouched";
        p.Execute(lines, result);
        return result;
    }
};

std::string eval(const std::string& expr) {
    return Harness().run(expr);
}

}  // namespace

TEST(CalcParser, OperatorsOnNumbersAndTexts) {
    EXPECT_EQ(eval("1 + 2"), "3");
    EXPECT_EQ(eval("1.5 + 2"), "3.5");
    EXPECT_EQ(eval("'a' + 'b'"), "ab");
    EXPECT_EQ(eval("'abcabc' - 'bc'"), "abca");
    EXPECT_EQ(eval("'abcabc' - 'x'"), "abcabc");
    EXPECT_EQ(eval("'abcabc' / 'b'"), "acac");
    EXPECT_EQ(eval("'aabb' / 'ab'"), "") << "a removal that forms a new occurrence";
    EXPECT_EQ(eval("'ab' * 3"), "abababab");
    EXPECT_EQ(eval("'ab' * 1.5"), "ababab");
    EXPECT_EQ(eval("'ab' * 0"), "ab");
    EXPECT_EQ(eval("2 * 'ab'"), "2");
    EXPECT_EQ(eval("'x' * 'y'"), "x");
    EXPECT_EQ(eval("7 / 2"), "3.5");
    EXPECT_EQ(eval("6 / 3"), "2");
    EXPECT_EQ(eval("1 & 2"), "12");
    EXPECT_EQ(eval("2 + 3 * 4 - 1"), "13");
    EXPECT_EQ(eval("(2 + 3) * 4"), "20");
    EXPECT_EQ(eval("(1, 2)"), "12") << "values in parentheses are joined";
    EXPECT_EQ(eval("-5"), "-5");
    EXPECT_EQ(eval("-(0-5)"), "--5");
    EXPECT_EQ(eval("-'a'"), "a");
    EXPECT_EQ(eval("0.1 * 3"), "0.3");
    EXPECT_EQ(eval("1 / 3"), "0.333333333333333");
    EXPECT_EQ(eval("100000 * 100000"), "10000000000");
    EXPECT_EQ(eval("1e5"), "") << "a number token then a variable e5";
}

TEST(CalcParser, ComparisonsAreTextualAndChainRight) {
    EXPECT_EQ(eval("10 > 9"), "0");
    EXPECT_EQ(eval("10 < 9"), "1");
    EXPECT_EQ(eval("'abc' = 'abc'"), "1");
    EXPECT_EQ(eval("1 <> 2"), "1");
    EXPECT_EQ(eval("2 >= 2"), "1");
    EXPECT_EQ(eval("3 <= 2"), "0");
    EXPECT_EQ(eval("1 = 1 = 1"), "1");  // 1 = (1 = 1)
    EXPECT_EQ(eval("2 = 2 = 2"), "0");
}

TEST(CalcParser, ValueRecognition) {
    int64_t i;
    double d;
    EXPECT_TRUE(TCalcParser::AsInteger("-2147483648", i));
    EXPECT_FALSE(TCalcParser::AsInteger("2147483648", i));
    EXPECT_FALSE(TCalcParser::AsInteger("+-5", i));
    EXPECT_FALSE(TCalcParser::AsInteger(" 5", i));
    EXPECT_TRUE(TCalcParser::AsReal("2147483648", d));
    EXPECT_TRUE(TCalcParser::AsReal("1.5E-3", d));
    EXPECT_DOUBLE_EQ(d, 0.0015);
    EXPECT_TRUE(TCalcParser::AsReal(".5", d));
    EXPECT_FALSE(TCalcParser::AsReal("1,5", d));
    EXPECT_FALSE(TCalcParser::AsReal("inf", d));
    EXPECT_FALSE(TCalcParser::AsReal("1e", d));
    EXPECT_EQ(TCalcParser::RealText(1e20), "1E20");
    EXPECT_EQ(TCalcParser::RealText(1.5e-7), "1.5E-7");
    EXPECT_EQ(TCalcParser::RealText(-0.0), "0");
    EXPECT_EQ(eval("2147483647 + 1"), "2147483648");
    EXPECT_EQ(eval("2147483648 + 1"), "2147483649");
}

TEST(CalcParser, ConditionsAndBranches) {
    Harness h;
    h.run("IF 0.0 THEN a = 'then' ELSE a = 'else';");
    EXPECT_EQ(h.vars["a"], "then");
    h.run("IF '' THEN b = 1 ELSE b = 2;");
    EXPECT_EQ(h.vars["b"], "2");
    h.run("IF 0 ELSE c = 'e' THEN c = 't';");
    EXPECT_EQ(h.vars["c"], "e");
    h.run("IF 1 THEN d = 1; ELSE d = 2; e = 5;");
    EXPECT_EQ(h.vars["d"], "1");
    EXPECT_EQ(h.vars["e"], "5");
    h.run("IF 0 THEN BEGIN f = 1; g = 1; END ELSE { f = 2; }");
    EXPECT_EQ(h.vars["f"], "2");
    EXPECT_EQ(h.vars.count("g"), 0u);
    h.run("IF 0 THEN IF 1 THEN h = 1 ELSE h = 2; i = 3;");
    EXPECT_EQ(h.vars.count("h"), 0u);
    EXPECT_EQ(h.vars["i"], "3");
}

TEST(CalcParser, LoopsWithBreakAndContinue) {
    Harness h;
    // Inner loop breaks at 3 each round; the outer loop skips round 2's tally.
    h.run(R"(
        i = 0; total = 0;
        WHILE i < 4 BEGIN
            i = i + 1;
            IF i = 2 THEN CONTINUE;
            j = 0;
            WHILE 1 {
                j = j + 1;
                IF j = 3 THEN BREAK;
                total = total + 1;
            }
            total = total + 10;
        END
        after = 'yes';
    )");
    EXPECT_EQ(h.vars["i"], "4");
    EXPECT_EQ(h.vars["total"], "36");
    EXPECT_EQ(h.vars["after"], "yes");

    h.run("n = 5; WHILE 0 BEGIN n = 6; END m = 1;");
    EXPECT_EQ(h.vars["n"], "5");
    EXPECT_EQ(h.vars["m"], "1");
}

TEST(CalcParser, ResultRules) {
    Harness h;
    EXPECT_EQ(h.run(""), "");
    EXPECT_EQ(h.run("// only a comment"), "");
    EXPECT_EQ(h.run("x = 4; (x * 2)"), "8");
    EXPECT_EQ(h.run("x = 4; x * 2"), "2") << "a statement starting with a name assigns";
    EXPECT_EQ(h.vars["x"], "2");
    EXPECT_EQ(h.run("x = 4; BEGIN x = 5; END"), "4") << "blocks do not set the result";
    EXPECT_EQ(h.run("CALL 'hello'; y = 1; EXIT; y = 2"), TCalcParser::kExitResult);
    EXPECT_EQ(h.vars["y"], "1");
    EXPECT_EQ(h.run("z = 7; IF 1 THEN EXIT; z = 8"), "7");
    EXPECT_EQ(h.vars["z"], "7");
    EXPECT_EQ(h.run("q = 1; WHILE 1 BEGIN EXIT; END q = 2"), "1");
    EXPECT_EQ(h.run("BREAK; CONTINUE; END; THEN; w = 3"), "3") << "stray keywords are skipped";
    ASSERT_EQ(h.call_values.size(), 1u);
    EXPECT_EQ(h.call_values[0], "hello");
}

TEST(CalcParser, TokensNamesAndFunctions) {
    Harness h;
    h.run("i = 2; A[i+1] = 'x'; A[1] = 'one'; A[01] = 'zero-one'; B[1,i] = 5;");
    EXPECT_EQ(h.vars["A[3]"], "x");
    EXPECT_EQ(h.vars["A[1]"], "one");
    EXPECT_EQ(h.vars["A[01]"], "zero-one");
    EXPECT_EQ(h.vars["B[1,2]"], "5");

    h.run("r = ROTATE(1 + 1, 'a', 3); s = Mix();");
    ASSERT_EQ(h.calls.size(), 2u);
    EXPECT_EQ(h.calls[0], "ROTATE(2,a,3)");
    EXPECT_EQ(h.calls[1], "Mix()");
    EXPECT_EQ(h.vars["r"], "f");

    h.calls.clear();
    h.vars["foo"] = "v";
    h.run("t = foo (1);");
    EXPECT_TRUE(h.calls.empty()) << "a blank before ( makes a variable";
    EXPECT_EQ(h.vars["t"], "v");  // the parenthesis starts a statement of its own

    h.run("u = 'a' +\n 'b'; v = \"two\n\t  lines\";\nw = 'x\ny'");
    EXPECT_EQ(h.vars["u"], "ab");
    EXPECT_EQ(h.vars["v"], "two lines");
    EXPECT_EQ(h.vars["w"], "xy");
    h.run("g = 10 / 4 // a comment with 'quotes'\nk = 1");
    EXPECT_EQ(h.vars["g"], "2.5");
    EXPECT_EQ(h.vars["k"], "1");

    TCalcParser bare;  // no handlers: variables and functions read as 0
    std::string r;
    bare.Execute({"a + F(1)"}, r);
    EXPECT_EQ(r, "0");
}

TEST(CalcParser, BadInputEndsQuietlyOrWithCalcError) {
    Harness h;
    EXPECT_THROW(h.run("x = 1 / 0"), CalcError);
    EXPECT_THROW(h.run("x = 1 / 0.0"), CalcError);
    EXPECT_EQ(h.run("x = 'a' / 0"), "a");
    EXPECT_NO_THROW(h.run("x = ((1 + 2"));
    EXPECT_EQ(h.vars["x"], "3");
    EXPECT_NO_THROW(h.run("x = 1 +; ) ] = , IF THEN ELSE END { } # ~ @"));
    EXPECT_NO_THROW(h.run("F(,,) + G(; H(\"unterminated"));
    EXPECT_NO_THROW(h.run("A[[[1]]] = 2; A[ = 3"));
    EXPECT_NO_THROW(h.run(std::string("a = 1\0 + 2", 10)));

    // Nesting beyond the limit ends the run instead of the stack.
    EXPECT_THROW(h.run(std::string(5000, '(')), CalcError);
    EXPECT_THROW(h.run(std::string(5000, '{')), CalcError);
    // Text growth is bounded.
    EXPECT_THROW(h.run("s = 'ab' * 100000000"), CalcError);
    EXPECT_THROW(h.run("s = 'ab'; WHILE 1 BEGIN s = s & s; END"), CalcError);
}

std::string repeat(const std::string& s, size_t n) {
    std::string r;
    for (size_t i = 0; i < n; ++i) r += s;
    return r;
}

// Each script ends, with the given result or with a CalcError ("!"); one that
// ran on unchecked would hang the test.
TEST(CalcParser, HostileScriptsEndQuickly) {
    const std::string big = "s = 'ab' * 524287;";  // 1 MB of "ab"
    const struct {
        const char* what;
        std::string script, result;
    } cases[] = {
        {"deep index in a value", "x = " + repeat("a[", 50000) + "1" + repeat("]", 50000), "!"},
        {"deep index as a name", repeat("a[", 50000) + "1" + repeat("]", 50000) + " = 1", "!"},
        {"letter removal", big + "t = s / 'a'; t = t / 'b' & 'done'", "done"},
        {"cascading removal", "s = 'a' * 262143 & 'b' * 262143; x = s / 'ab' & 'empty'", "empty"},
        {"last occurrence", "s = 'ab' * 499999; x = s - (\"ab\" * 200000 & 'x') & 'kept'",
         repeat("ab", 500000) + "kept"},
        {"one long line", big + "x = s" + repeat(" / 'q'", 200000), "!"},
        {"many lines", big + repeat("x = s - 'zz';\n", 200000), "!"},
    };
    for (const auto& c : cases) {
        Harness h;
        h.p.MaxRunTime = std::chrono::milliseconds(300);
        std::string got;
        try {
            got = h.run(c.script);
        } catch (const CalcError&) {
            got = "!";
        }
        EXPECT_EQ(got, c.result) << c.what;
    }
}

TEST(CalcParser, EndlessLoopIsStoppedByTheRunTimeLimit) {
    Harness h;
    h.p.MaxRunTime = std::chrono::milliseconds(50);
    EXPECT_THROW(h.run("WHILE 1 BEGIN x = x + 1; END"), CalcError);
    EXPECT_GT(std::stoll(h.vars["x"]), 10);
    EXPECT_THROW(h.run("WHILE 1 BEGIN CONTINUE; END"), CalcError);
    EXPECT_THROW(h.run("WHILE 1 BEGIN x = 1;"), CalcError) << "no END before the end of text";
    // The parser is usable again afterwards.
    EXPECT_EQ(h.run("1 + 1"), "2");
}
