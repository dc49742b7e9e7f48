// CTime: an absolute time as seconds since 1970-01-01 00:00 UTC (the C runtime's time_t).
// The calendar accessors and Format read it in local time, FormatGmt in UTC.
#pragma once

#include <ctime>

#include "framework/core/CString.h"
#include "framework/core/CTimeSpan.h"

// <windows.h> defines GetCurrentTime as a macro for GetTickCount.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

class CTime {
public:
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(std::time_t time) : m_time(time) {}
    // A local calendar time; nDST < 0 lets the C runtime decide on daylight saving time.
    // Out-of-range fields are normalised (the 32nd of January is the 1st of February); a time
    // the C runtime cannot represent gives 0.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    std::time_t GetTime() const { return m_time; }

    // Local time; all of them answer 0 for a time the C runtime cannot convert.
    int GetYear() const;
    int GetMonth() const;      // 1-12
    int GetDay() const;        // 1-31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday

    // The broken-down time into *ptm (or a per-thread record when null); null when the time
    // cannot be converted.
    struct tm* GetLocalTm(struct tm* ptm = nullptr) const;
    struct tm* GetGmtTm(struct tm* ptm = nullptr) const;

    // strftime formats; the empty string for a time that cannot be converted.
    CString Format(LPCTSTR pszFormat) const;
    CString FormatGmt(LPCTSTR pszFormat) const;

    CTimeSpan operator-(CTime time) const { return CTimeSpan(static_cast<LONGLONG>(m_time) - time.m_time); }
    CTime operator+(CTimeSpan span) const { return CTime(static_cast<std::time_t>(m_time + span.GetTimeSpan())); }
    CTime operator-(CTimeSpan span) const { return CTime(static_cast<std::time_t>(m_time - span.GetTimeSpan())); }
    CTime& operator+=(CTimeSpan span) { m_time += static_cast<std::time_t>(span.GetTimeSpan()); return *this; }
    CTime& operator-=(CTimeSpan span) { m_time -= static_cast<std::time_t>(span.GetTimeSpan()); return *this; }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

private:
    std::time_t m_time = 0;
};
