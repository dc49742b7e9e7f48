// Runs against the real registry on Windows (a test key that the test removes) and against the
// in-memory registry of the host build.
#include <gtest/gtest.h>

#include <cstring>

#include "util/Registry.h"
#include "tests/util/TestSupport.h"

namespace {

const char kTestKey[] = "Software\\Quor\\Barwright 1\\ApputilTest";

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        key = CreateRegKey(HKEY_CURRENT_USER, kTestKey, nullptr);
        ASSERT_NE(key, nullptr);
    }
    void TearDown() override {
        CloseRegKey(key);
#ifdef _WIN32
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
#endif
    }
    HKEY key = nullptr;
    FakeServices services;
};

TEST_F(Registry, NumbersAreCheckedForTypeAndSize) {
    ASSERT_TRUE(SetRegValue(key, "Text5", REG_SZ, reinterpret_cast<const BYTE*>("5"), 1));
    ASSERT_TRUE(SetRegDWORD(key, "Dword", 0x12345678));
    ASSERT_TRUE(SetRegBinary4(key, "Binary", 0xCAFE));
    const BYTE two[2] = {1, 2};
    ASSERT_TRUE(SetRegValue(key, "Binary2", REG_BINARY, two, 2));

    struct Case {
        const char* name;
        DWORD dword, dwordOrBinary;
    } cases[] = {
        {"Text5", 0, 0},   {"Dword", 0x12345678, 0x12345678}, {"Binary", 0, 0xCAFE},
        {"Binary2", 0, 0}, {"Missing", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetRegDWORD(key, c.name), c.dword) << c.name;
        EXPECT_EQ(GetRegDWORDOrBinary(key, c.name), c.dwordOrBinary) << c.name;
    }
    DWORD type = 0, size = 0;
    EXPECT_TRUE(QueryRegValue(key, "Binary", &type, nullptr, &size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 4u);
    EXPECT_TRUE(services.internalErrors.empty());
}

TEST_F(Registry, StringsAreTerminatedAndSizeChecked) {
    // The program stores strings without their terminating NUL.
    ASSERT_TRUE(SetRegValue(key, "Path", REG_SZ, reinterpret_cast<const BYTE*>("C:\\abc"), 6));
    char buffer[16];
    std::memset(buffer, 'z', sizeof(buffer));
    DWORD size = sizeof(buffer);
    ASSERT_TRUE(GetRegString(key, "Path", buffer, &size));
    EXPECT_STREQ(buffer, "C:\\abc");
    EXPECT_GE(size, 6u);  // the ANSI functions of the platform may count a terminator they add
    EXPECT_LE(size, 7u);

    size = 6;  // exactly the value, no room for a terminator
    EXPECT_FALSE(GetRegString(key, "Path", buffer, &size));
    size = 3;
    EXPECT_FALSE(GetRegString(key, "Path", buffer, &size));
    size = sizeof(buffer);
    EXPECT_FALSE(GetRegString(key, "Missing", buffer, &size));
    SetRegDWORD(key, "Number", 5);
    size = sizeof(buffer);
    EXPECT_FALSE(GetRegString(key, "Number", buffer, &size));
}

TEST_F(Registry, NullArgumentsRecordInternalErrors) {
    char buffer[4];
    DWORD size = sizeof(buffer);
    EXPECT_EQ(GetRegDWORD(nullptr, "x"), 0u);
    EXPECT_EQ(GetRegDWORDOrBinary(key, nullptr), 0u);
    EXPECT_FALSE(GetRegString(key, "x", nullptr, &size));
    EXPECT_FALSE(SetRegDWORD(key, nullptr, 1));
    EXPECT_FALSE(SetRegValue(key, "x", REG_BINARY, nullptr, 0));
    EXPECT_EQ(CreateRegKey(HKEY_CURRENT_USER, nullptr, nullptr), nullptr);
    EXPECT_EQ(OpenRegKey(nullptr, "x"), nullptr);
    ASSERT_EQ(services.internalErrors.size(), 7u);
    for (const auto& error : services.internalErrors)
        EXPECT_EQ(error.second, "Registry.cpp");
    EXPECT_FALSE(CloseRegKey(nullptr));
}

TEST_F(Registry, ApplicationKeys) {
    EXPECT_EQ(S(GetRegistryPathText()), "\\HKEY_CURRENT_USER\\Software\\Quor\\Barwright 1");

    HKEY startup = OpenStartupKey("");
    ASSERT_NE(startup, nullptr);
    CloseRegKey(startup);
    HKEY reopened = OpenRegKeyRead(HKEY_CURRENT_USER, "Software\\Quor\\Barwright 1\\Startup");
    ASSERT_NE(reopened, nullptr);
    CloseRegKey(reopened);

    HKEY options = OpenOptionsKey();
    ASSERT_NE(options, nullptr);
    CloseRegKey(options);

    EXPECT_EQ(OpenRegKeyRead(HKEY_CURRENT_USER, "Software\\Quor\\Barwright 1\\NoSuchKey"), nullptr);

    HKEY sub = OpenRegKey(HKEY_CURRENT_USER, kTestKey);
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(SetRegDWORD(sub, "Running", 2));
    EXPECT_EQ(GetRegDWORD(key, "running"), 2u);  // names ignore case
    CloseRegKey(sub);
}

}  // namespace
