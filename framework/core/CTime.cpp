#include "framework/core/CTime.h"

namespace {

bool ToLocal(std::time_t time, struct tm* ptm)
{
#ifdef _WIN32
    return localtime_s(ptm, &time) == 0;
#else
    return localtime_r(&time, ptm) != nullptr;
#endif
}

bool ToGmt(std::time_t time, struct tm* ptm)
{
#ifdef _WIN32
    return gmtime_s(ptm, &time) == 0;
#else
    return gmtime_r(&time, ptm) != nullptr;
#endif
}

CString FormatTm(const struct tm& tmValue, LPCTSTR pszFormat)
{
    CString result;
    if (pszFormat == nullptr || *pszFormat == '\0')
        return result;
    // strftime answers 0 both for a short buffer and for an empty result: grow a few times,
    // then settle for empty.
    for (int size = 128; size <= 64 * 1024; size *= 4) {
        char* buffer = result.GetBuffer(size);
        const std::size_t n = std::strftime(buffer, static_cast<std::size_t>(size), pszFormat, &tmValue);
        if (n > 0) {
            result.ReleaseBuffer(static_cast<int>(n));
            return result;
        }
    }
    result.Empty();
    return result;
}

}  // namespace

CTime CTime::GetCurrentTime()
{
    return CTime(std::time(nullptr));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    struct tm tmValue = {};
    tmValue.tm_year = nYear - 1900;
    tmValue.tm_mon = nMonth - 1;
    tmValue.tm_mday = nDay;
    tmValue.tm_hour = nHour;
    tmValue.tm_min = nMin;
    tmValue.tm_sec = nSec;
    tmValue.tm_isdst = nDST;
    const std::time_t t = std::mktime(&tmValue);
    m_time = t == static_cast<std::time_t>(-1) ? 0 : t;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    static thread_local struct tm perThread;
    struct tm* target = ptm != nullptr ? ptm : &perThread;
    return ToLocal(m_time, target) ? target : nullptr;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    static thread_local struct tm perThread;
    struct tm* target = ptm != nullptr ? ptm : &perThread;
    return ToGmt(m_time, target) ? target : nullptr;
}

int CTime::GetYear() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_year + 1900 : 0;
}

int CTime::GetMonth() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_mon + 1 : 0;
}

int CTime::GetDay() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_mday : 0;
}

int CTime::GetHour() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_hour : 0;
}

int CTime::GetMinute() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_min : 0;
}

int CTime::GetSecond() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_sec : 0;
}

int CTime::GetDayOfWeek() const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? t.tm_wday + 1 : 0;
}

CString CTime::Format(LPCTSTR pszFormat) const
{
    struct tm t;
    return GetLocalTm(&t) != nullptr ? FormatTm(t, pszFormat) : CString();
}

CString CTime::FormatGmt(LPCTSTR pszFormat) const
{
    struct tm t;
    return GetGmtTm(&t) != nullptr ? FormatTm(t, pszFormat) : CString();
}
