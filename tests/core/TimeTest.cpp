#include "framework/core/CTime.h"
#include "framework/core/CTimeSpan.h"

#include <gtest/gtest.h>

namespace {

TEST(Time, CalendarFieldsAndFormat)
{
    const CTime t(2004, 2, 29, 23, 59, 58);
    EXPECT_EQ(t.GetYear(), 2004);
    EXPECT_EQ(t.GetMonth(), 2);
    EXPECT_EQ(t.GetDay(), 29);
    EXPECT_EQ(t.GetHour(), 23);
    EXPECT_EQ(t.GetMinute(), 59);
    EXPECT_EQ(t.GetSecond(), 58);
    EXPECT_EQ(t.GetDayOfWeek(), 1);  // a Sunday
    EXPECT_EQ(CString(t.Format("%Y-%m-%d %H:%M:%S")), "2004-02-29 23:59:58");
    EXPECT_EQ(CString(t.Format("")), "");

    const CTime later = t + CTimeSpan(0, 0, 0, 3);  // rolls into March
    EXPECT_EQ(CString(later.Format("%d.%m. %H:%M:%S")), "01.03. 00:00:01");
    EXPECT_EQ(CTime(2004, 1, 32, 0, 0, 0), CTime(2004, 2, 1, 0, 0, 0));  // normalised
    EXPECT_EQ(CString(CTime(0).FormatGmt("%Y-%m-%d %H:%M")), "1970-01-01 00:00");
    EXPECT_EQ(CTime(86400).FormatGmt("%j"), "002");
}

TEST(Time, ArithmeticAndSpans)
{
    const CTime a(1000000), b(1000000 + 90061);
    const CTimeSpan d = b - a;
    EXPECT_EQ(d.GetTotalSeconds(), 90061);
    EXPECT_EQ(d.GetDays(), 1);
    EXPECT_EQ(d.GetHours(), 1);
    EXPECT_EQ(d.GetMinutes(), 1);
    EXPECT_EQ(d.GetSeconds(), 1);
    EXPECT_EQ(d.GetTotalHours(), 25);
    EXPECT_EQ(d.GetTotalMinutes(), 1501);
    EXPECT_EQ(CString(d.Format("%D days %H:%M:%S %%")), "1 days 01:01:01 %");
    EXPECT_EQ(d, CTimeSpan(1, 1, 1, 1));
    EXPECT_TRUE(a < b && b > a && a <= a && a != b);
    EXPECT_EQ(a + d, b);
    EXPECT_EQ(b - d, a);
    CTime c = a;
    c += d;
    c -= CTimeSpan(1);
    EXPECT_EQ(c.GetTime(), b.GetTime() - 1);
    EXPECT_EQ((a - b).GetTotalSeconds(), -90061);

    const CTime now = CTime::GetCurrentTime();
    EXPECT_GT(now.GetYear(), 2000);
}

}  // namespace
