#include "report/runtime_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string kInstalledName = "Microsoft Visual C++ 2010  x86 Redistributable - 10.0.40219";

// The bytes a registry query returns, in a heap block of exactly that size, so that reading
// one byte too far is caught by the address sanitizer.
std::vector<char> Returned(const std::string& text, bool withZero = true) {
    std::vector<char> bytes(text.begin(), text.end());
    if (withZero) {
        bytes.push_back('\0');
    }
    return bytes;
}

struct NameCase {
    const char* label;
    std::string returned;
    const char* expected;
};

TEST(RuntimeNameResult, ComparesTheFirstFortySixBytes) {
    const NameCase cases[] = {
        {"installed name", kInstalledName, "found"},
        {"bare name", "Microsoft Visual C++ 2010  x86 Redistributable", "found"},
        {"other text after the name", "Microsoft Visual C++ 2010  x86 Redistributable?", "found"},
        {"one blank", "Microsoft Visual C++ 2010 x86 Redistributable - 10.0.40219", "not found"},
        {"letter case", "microsoft Visual C++ 2010  x86 Redistributable", "not found"},
        {"x64 runtime", "Microsoft Visual C++ 2010  x64 Redistributable - 10.0.40219", "not found"},
        {"short name", "Microsoft Visual C++", "not found"},
        {"empty", "", "not found"},
    };
    for (const NameCase& c : cases) {
        const std::vector<char> bytes = Returned(c.returned);
        EXPECT_STREQ(RuntimeNameResult(true, bytes.data(), bytes.size()), c.expected) << c.label;
    }
}

TEST(RuntimeNameResult, MissingValue) {
    EXPECT_STREQ(RuntimeNameResult(false, nullptr, 0), "Not found");
}

TEST(RuntimeNameResult, NeverReadsPastTheReturnedBytes) {
    const std::vector<char> unterminated = Returned("Microsoft Visual C++ 2010", false);
    EXPECT_STREQ(RuntimeNameResult(true, unterminated.data(), unterminated.size()), "not found");
    const std::vector<char> exact = Returned(kRuntimeProductName, false);
    EXPECT_STREQ(RuntimeNameResult(true, exact.data(), exact.size()), "found");
    EXPECT_STREQ(RuntimeNameResult(true, exact.data(), 45), "not found");
}

TEST(RuntimeVersionResult, VersionAtOffsetFortyNine) {
    const NameCase cases[] = {
        {"installed name", kInstalledName, "OK"},
        {"older build", "Microsoft Visual C++ 2010  x86 Redistributable - 10.0.30319", "wrong"},
        {"longer text", kInstalledName + " SP1", "OK"},
        {"fifty-eight characters", kInstalledName.substr(0, 58), "wrong"},
        {"bare name", "Microsoft Visual C++ 2010  x86 Redistributable", "wrong"},
        {"version elsewhere", "10.0.40219 Microsoft Visual C++ 2010  x86 Redistributable - 1.0.0",
         "wrong"},
        {"empty", "", "wrong"},
    };
    for (const NameCase& c : cases) {
        const std::vector<char> bytes = Returned(c.returned);
        EXPECT_STREQ(RuntimeVersionResult(true, bytes.data(), bytes.size()), c.expected) << c.label;
    }
}

TEST(RuntimeVersionResult, NoNameRead) {
    EXPECT_STREQ(RuntimeVersionResult(false, nullptr, 0), "wrong");
    const std::vector<char> bytes = Returned(kInstalledName);
    EXPECT_STREQ(RuntimeVersionResult(false, bytes.data(), bytes.size()), "wrong");
}

TEST(RuntimeVersionResult, TextEndsAtTheFirstZero) {
    std::string withZero = kRuntimeProductName;
    withZero += '\0';
    withZero += "- 10.0.40219";
    const std::vector<char> bytes = Returned(withZero);
    EXPECT_STREQ(RuntimeVersionResult(true, bytes.data(), bytes.size()), "wrong");
}

TEST(RuntimeVersionResult, NeverReadsPastTheReturnedBytes) {
    const std::vector<char> exact = Returned(kInstalledName, false);
    EXPECT_STREQ(RuntimeVersionResult(true, exact.data(), exact.size()), "OK");
    EXPECT_STREQ(RuntimeVersionResult(true, exact.data(), 58), "wrong");
}

}  // namespace
