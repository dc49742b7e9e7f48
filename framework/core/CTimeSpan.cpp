#include "framework/core/CTimeSpan.h"

CString CTimeSpan::Format(LPCTSTR pszFormat) const
{
    CString result;
    if (pszFormat == nullptr)
        return result;
    CString field;
    for (LPCTSTR p = pszFormat; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            result += *p;
            continue;
        }
        switch (*++p) {
        case 'D':
            field.Format("%lld", static_cast<long long>(GetDays()));
            break;
        case 'H':
            field.Format("%02ld", static_cast<long>(GetHours()));
            break;
        case 'M':
            field.Format("%02ld", static_cast<long>(GetMinutes()));
            break;
        case 'S':
            field.Format("%02ld", static_cast<long>(GetSeconds()));
            break;
        case '%':
            field = '%';
            break;
        default:
            field = CString('%') + *p;
            break;
        }
        result += field;
    }
    return result;
}
