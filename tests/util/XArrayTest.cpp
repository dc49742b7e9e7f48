#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <type_traits>

#include "util/StyleLine.h"
#include "util/XArray.h"
#include "tests/util/TestSupport.h"

namespace {

template <class T>
void Fill(CXArray<T>& array, std::initializer_list<T> values) {
    array.SetSize(static_cast<DWORD>(values.size()));
    DWORD i = 0;
    for (const T& v : values)
        *array.ElementAt(i++) = v;
}

TEST(XArray, SetSizeKeepsOnlyTheSameCount) {
    CXArray<CString> strings;
    Fill(strings, {CString("a"), CString("b"), CString("c")});
    strings.SetSize(3);
    EXPECT_EQ(S(*strings.ElementAt(2)), "c");
    strings.SetSize(4);
    EXPECT_EQ(strings.GetSize(), 4u);
    EXPECT_EQ(S(*strings.ElementAt(0)), "");  // fresh elements, never carried over

    Fill(strings, {CString("a"), CString("b"), CString("c")});
    strings.SetSize(0);
    EXPECT_EQ(strings.GetSize(), 0u);
    ASSERT_NE(strings.ElementAt(5), nullptr);  // the one-element block of an empty array
    EXPECT_EQ(S(*strings.ElementAt(5)), "");

    CXArray<int> fresh;
    EXPECT_EQ(fresh.ElementAt(0), nullptr);
    EXPECT_EQ(fresh.GetMaxSize(), 0x7FFFFFFFu);
}

TEST(XArray, ElementAtClampsToTheLastElement) {
    CXArray<int> numbers;
    Fill(numbers, {7, 8, 9});
    EXPECT_EQ(*numbers.ElementAt(1), 8);
    EXPECT_EQ(*numbers.ElementAt(3), 9);
    EXPECT_EQ(*numbers.ElementAt(0xFFFFFFFF), 9);
}

TEST(XArray, OversizeAndOutOfMemoryThrowAndKeepTheElements) {
    CXArray<int> numbers;
    Fill(numbers, {1, 2});
    try {
        numbers.SetSize(0x80000000u);
        FAIL() << "no exception";
    } catch (const char* message) {
        EXPECT_STREQ(message, "CXArray:  Requested array length too large");
    }
    EXPECT_EQ(numbers.GetSize(), 2u);
    EXPECT_EQ(*numbers.ElementAt(1), 2);

#ifdef _WIN32
    // The largest count the array takes, of elements that make it larger than the process's
    // address space: doubles fill 16 GiB (past a 32-bit process's 4 GiB), megabyte blocks 2 PiB
    // (past a 64-bit process's 128 TiB).
    struct Megabyte {
        double first;
        char rest[(1 << 20) - sizeof(double)];
        Megabyte& operator=(double value) { first = value; return *this; }
        operator double() const { return first; }
    };
    using Huge = std::conditional_t<sizeof(void*) == 4, double, Megabyte>;
    CXArray<Huge> huge;
    huge.SetSize(1);
    *huge.ElementAt(0) = 1.5;
    try {
        huge.SetSize(0x7FFFFFFF);
        FAIL() << "no exception";
    } catch (const char* message) {
        EXPECT_STREQ(message, "CXArray:  Couldn't get memory");
    }
    EXPECT_EQ(huge.GetSize(), 1u);
    EXPECT_EQ(static_cast<double>(*huge.ElementAt(0)), 1.5);
#endif
}

TEST(XArray, StreamExtractionAppends) {
    CXArray<int> numbers;
    std::istringstream in(" 12 34");
    in >> numbers;
    in >> numbers;
    ASSERT_EQ(numbers.GetSize(), 2u);
    EXPECT_EQ(*numbers.ElementAt(0), 12);
    EXPECT_EQ(*numbers.ElementAt(1), 34);

    CXArray<double> reals;
    std::istringstream realText("0.65");
    realText >> reals;
    EXPECT_EQ(*reals.ElementAt(0), 0.65);

    CXArray<unsigned int> unsignedNumbers;
    std::istringstream big("4294967295");
    big >> unsignedNumbers;
    EXPECT_EQ(*unsignedNumbers.ElementAt(0), 4294967295u);

    // Strings take the rest of the line, one leading blank skipped, stored line breaks restored,
    // and every other byte (0xFF too) kept.
    CXArray<CString> strings;
    Fill(strings, {CString("Blue")});
    std::istringstream lines("Red\n  two\x02lines \xFF end\nlast");
    lines >> strings;
    lines >> strings;
    lines >> strings;
    ASSERT_EQ(strings.GetSize(), 4u);
    EXPECT_EQ(S(*strings.ElementAt(0)), "Blue");
    EXPECT_EQ(S(*strings.ElementAt(1)), "Red");
    EXPECT_EQ(S(*strings.ElementAt(2)), " two\nlines \xFF end");
    EXPECT_EQ(S(*strings.ElementAt(3)), "last");
}

TEST(XArray, StyleLineHelpers) {
    EXPECT_EQ(S(EscapeLineBreaks("a\nb\r\nc")), "a\x02" "b\r\x02" "c");
    EXPECT_EQ(S(UnescapeLineBreaks("a\x02" "b")), "a\nb");
    CString text = "kept ";
    std::istringstream in("x\x02y\nnext");
    ReadStyleLine(in, text);
    EXPECT_EQ(S(text), "kept x\ny");
    EXPECT_TRUE(in.good());
}

TEST(XArray, EqualityCopyAndClone) {
    CXArray<CString> a, b;
    Fill(a, {CString("x"), CString("y")});
    Fill(b, {CString("x")});
    EXPECT_TRUE(a == a);
    EXPECT_FALSE(a == b);  // a prefix is not equal
    Fill(b, {CString("x"), CString("Y")});
    EXPECT_FALSE(a == b);  // case counts
    b.Copy(a);
    EXPECT_TRUE(a == b);

    std::unique_ptr<CXArray<CString>> clone(a.Clone());
    ASSERT_TRUE(clone);
    EXPECT_TRUE(*clone == a);
    *a.ElementAt(0) = "changed";
    EXPECT_EQ(S(*clone->ElementAt(0)), "x");

    CXArray<double> r1, r2;
    Fill(r1, {0.1 + 0.2});
    Fill(r2, {0.3});
    EXPECT_FALSE(r1 == r2);  // exact comparison
}

}  // namespace
