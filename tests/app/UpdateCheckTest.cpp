// The update check as start-up uses it: the timestamps made at the first start and the
// decision of an automatic check.
#include "app/UpdateCheck.h"
#include "util/Registry.h"

#include <gtest/gtest.h>

#include <wininet.h>

#include <ctime>

namespace {
const DWORD kDay = 86400;

bool ReadStamp(const char* name, DWORD& value)
{
    HKEY key = OpenStartupKey(nullptr);
    DWORD type = 0, size = sizeof value;
    const bool read = key && QueryRegValue(key, name, &type, (BYTE*)&value, &size) && type == REG_DWORD &&
                      size == sizeof value;
    CloseRegKey(key);
    return read;
}

void SetStamp(const char* name, DWORD value)
{
    HKEY key = OpenStartupKey(nullptr);
    SetRegDWORD(key, name, value);
    CloseRegKey(key);
}

void SetText(const char* name, const char* text)
{
    HKEY key = OpenStartupKey(nullptr);
    SetRegValue(key, name, REG_SZ, (const BYTE*)text, (DWORD)strlen(text));
    CloseRegKey(key);
}
}  // namespace

TEST(UpdateCheck, DecisionByTheAgeOfTheStamps)
{
    const DWORD now = 2000000000u;
    struct Case {
        bool online, haveVersion;
        DWORD version;
        bool haveSpecial;
        DWORD special;
        int expected;
    } cases[] = {
        {true, true, now - 15 * kDay, true, now, 1},               // a version check
        {true, true, now - 14 * kDay - 5 * 3600, true, now, 0},    // 14 days and some hours: none
        {true, true, 0, true, now - 8 * kDay, 2},                  // no version stamp yet: specials
        {true, true, now - 2 * kDay, true, now - 8 * kDay, 2},
        {true, true, now - 2 * kDay, true, now - 7 * kDay, 0},
        {true, true, now - 2 * kDay, true, 0, 0},
        {true, true, now - 2 * kDay, false, 0, 0},
        {true, false, 0, true, now - 30 * kDay, 0},                // an unreadable version stamp
        {false, true, now - 30 * kDay, true, now - 30 * kDay, 0},  // offline
        {true, true, now + kDay, true, now + kDay, 0},             // stamps from the future
        {true, true, 1, true, 1, 1},                               // the first start's stamps
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUpdateCheckDlg::DecideDue(c.online, c.haveVersion, c.version, c.haveSpecial, c.special, now),
                  c.expected)
            << c.version << " " << c.special;
}

TEST(UpdateCheck, FirstStartStampsAndAnAutomaticSpecialsCheck)
{
    SetText("FourteenDayUpdate", "not a number");  // unreadable: replaced
    HKEY key = OpenStartupKey(nullptr);
    ::RegDeleteValueA(key, "SpecialUpdate");
    CloseRegKey(key);
    SetStamp("SpecialDate", 12345);  // readable: kept
    InitUpdateTimestamps();
    DWORD value = 0;
    EXPECT_TRUE(ReadStamp("FourteenDayUpdate", value));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(ReadStamp("SpecialUpdate", value));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(ReadStamp("SpecialDate", value));
    EXPECT_EQ(value, 12345u);

    // A version check not due, the specials eight days old: the window switches to specials
    // and stamps the time before it starts, and stays hidden.
    const DWORD now = (DWORD)std::time(nullptr);
    SetStamp("FourteenDayUpdate", 0);
    SetStamp("SpecialUpdate", now - 8 * kDay);
    DWORD connection = 0;
    const bool online = ::InternetGetConnectedState(&connection, 0) != FALSE;
    CUpdateCheckDlg check(nullptr, CUpdateCheckDlg::kModeAutomatic);
    ASSERT_TRUE(check.Create(CUpdateCheckDlg::IDD, nullptr));
    EXPECT_FALSE(check.IsWindowVisible());
    EXPECT_EQ(check.IsStarted(), 1);
    ReadStamp("SpecialUpdate", value);
    if (online) {
        EXPECT_EQ(check.IsDue(), 1);
        EXPECT_EQ(check.GetMode(), CUpdateCheckDlg::kModeSpecials);
        EXPECT_GE(value, now);
    } else {
        EXPECT_EQ(check.IsDue(), 0);
        EXPECT_EQ(value, now - 8 * kDay);
    }
    check.DestroyWindow();

    // A check on request is always due and keeps its mode.
    CUpdateCheckDlg onRequest(nullptr, CUpdateCheckDlg::kModeVersion);
    ASSERT_TRUE(onRequest.Create(CUpdateCheckDlg::IDD, nullptr));
    EXPECT_EQ(onRequest.IsDue(), 1);
    EXPECT_EQ(onRequest.GetMode(), CUpdateCheckDlg::kModeVersion);
    onRequest.DestroyWindow();
}
