#include "app/Errors.h"

#include "app/MessageBoxDlg.h"
#include "app/Resource.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

char g_ErrorText[kErrorTextSize] = "";
int g_ErrorKind = 0;
int g_ErrorSlotFree = 1;
unsigned int g_ErrorLine = 0;
const char* g_ErrorFile = "<unknown>";
int g_MessageBoxUp = 0;
int g_MessageShown = 0;

namespace {
MessageBoxHost g_host = {nullptr, nullptr};

// Texts of any length go into the record cut to what it holds, always terminated.
void StoreText(const char* text)
{
    std::snprintf(g_ErrorText, sizeof g_ErrorText, "%s", text ? text : "");
}

void SetMainMessageBoxUp(int up)
{
    if (g_host.setMessageBoxUp)
        g_host.setMessageBoxUp(up);
}
}  // namespace

void SetMessageBoxHost(const MessageBoxHost& host)
{
    g_host = host;
}

void SetError(UINT, const char* text)
{
    StoreText(text);
    g_ErrorKind = 1;
    g_ErrorSlotFree = 0;
}

void SetErrorText(const char* text)
{
    SetError(0, text);
}

void SetErrorFromId(UINT id)
{
    if (!g_ErrorSlotFree)
        return;  // the first error recorded wins
    g_ErrorText[0] = 0;
    g_ErrorKind = 2;
    g_ErrorSlotFree = 0;
    CString text;
    if (text.LoadString(id))
        StoreText(text);
}

void ClearError()
{
    g_ErrorText[0] = 0;
    g_ErrorKind = 0;
    g_ErrorSlotFree = 1;
    g_MessageShown = 1;
}

CString ShortSourceName(const char* path)
{
    const CString full = path ? path : "";
    const int backslash = full.ReverseFind('\\');
    const int dot = full.ReverseFind('.');
    if (backslash < 0 || dot < 0)
        return full;
    const int before = dot - 2 < 0 ? 0 : dot - 2;
    return full.Left(1) + "." + full.Mid(backslash + 1, 2) + "." + full.Mid(before, dot - before);
}

void SetInternalError()
{
    CString format;
    if (!format.LoadString(IDS_INTERNAL_ERROR))
        format = "Internal program error %u.%s";
    char text[kErrorTextSize];
    std::snprintf(text, sizeof text, format, g_ErrorLine, (const char*)ShortSourceName(g_ErrorFile));
    SetErrorText(text);
    g_ErrorLine = 0;
    g_ErrorFile = "<unknown>";
}

void SetInternalErrorMsg(const char*)
{
    SetInternalError();
}

int ShowMessageBox(int severity, UINT messageId, UINT label1, UINT label2, UINT label3, UINT label4,
                   int defaultIndex, int cancelIndex)
{
    if (g_MessageBoxUp) {
        // One box at a time. The caller gets the answer that does nothing: its cancel choice.
        ::MessageBeep(0);
        return cancelIndex;
    }
    g_MessageBoxUp = 1;
    if (messageId)
        SetErrorFromId(messageId);
    if (!label1)
        label1 = IDS_LABEL_OK;

    INT_PTR result;
    {
        CMessageBoxDlg box(severity, messageId, label1, label2, label3, label4, defaultIndex, cancelIndex);
        result = box.DoModal();
    }
    if (g_host.repaintMain)
        g_host.repaintMain();

    g_ErrorKind = 0;
    g_ErrorSlotFree = 1;
    ClearError();
    g_MessageBoxUp = 0;
    return (int)result;
}

int ShowMessageBoxEx(int severity, CErrorBoxInfo* info)
{
    if (!info)
        return IDS_LABEL_OK;
    if (!info->labels[0])
        info->labels[0] = IDS_LABEL_OK;
    int result;
    if (g_MessageBoxUp) {
        ::MessageBeep(0);
        result = info->cancelIndex;
    } else {
        CMessageBoxDlg::SetNextTitleId(info->titleId);
        result = ShowMessageBox(severity, info->messageId, info->labels[0], info->labels[1], info->labels[2],
                                info->labels[3], info->defaultIndex, info->cancelIndex);
    }
    if (result >= 1 && result <= 4)
        return info->labels[result - 1];
    const int cancel = info->cancelIndex;
    return cancel >= 1 && cancel <= 4 ? info->labels[cancel - 1] : 0;
}

int InformPlain(UINT id, UINT l1, UINT l2, UINT l3, UINT l4, int def, int cancel)
{
    return ShowMessageBox(0, id, l1, l2, l3, l4, def, cancel);
}

int InformMessage(UINT id, UINT l1, UINT l2, UINT l3, UINT l4, int def, int cancel)
{
    return ShowMessageBox(1, id, l1, l2, l3, l4, def, cancel);
}

int InformMessageEx(CErrorBoxInfo* info)
{
    return ShowMessageBoxEx(1, info);
}

CString SpacePathForWrapping(const char* path)
{
    CString spaced;
    for (const char* p = path ? path : ""; *p; ++p) {
        spaced += *p;
        if (*p == '\\')
            spaced += ' ';
    }
    return spaced;
}

static int ShowWithPath(int severity, UINT id, const char* path, UINT l1, UINT l2, UINT l3, UINT l4, int def,
                        int cancel)
{
    CString format;
    if (!format.LoadString(id))
        format.Format("Error<%u>", id);
    CString text;
    text.Format(format, (const char*)SpacePathForWrapping(path));
    SetError(id, text);
    return ShowMessageBox(severity, 0, l1, l2, l3, l4, def, cancel);
}

int InformMessageWithPath(UINT id, const char* path, UINT l1, UINT l2, UINT l3, UINT l4, int def, int cancel)
{
    return ShowWithPath(1, id, path, l1, l2, l3, l4, def, cancel);
}

int InformWarning(UINT id, UINT l1, UINT l2, UINT l3, UINT l4, int def, int cancel)
{
    SetMainMessageBoxUp(1);
    const int result = ShowMessageBox(2, id, l1, l2, l3, l4, def, cancel);
    SetMainMessageBoxUp(0);
    return result;
}

int InformWarningWithPath(UINT id, const char* path, UINT l1, UINT l2, UINT l3, UINT l4, int def, int cancel)
{
    SetMainMessageBoxUp(1);
    const int result = ShowWithPath(2, id, path, l1, l2, l3, l4, def, cancel);
    SetMainMessageBoxUp(0);
    return result;
}

static void FormatReport(UINT id, va_list args)
{
    CString format;
    if (!format.LoadString(id))
        format.Format("Error<%u>", id);
    CString text;
    text.FormatV(format, args);
    SetError(id, text);
}

int ReportWarning(UINT id, ...)
{
    va_list args;
    va_start(args, id);
    FormatReport(id, args);
    va_end(args);
    SetMainMessageBoxUp(1);
    const int result = ShowMessageBox(2, 0, 0, 0, 0, 0, 1, 2);
    SetMainMessageBoxUp(0);
    return result;
}

int InformError(UINT id, UINT l1, UINT l2, UINT l3, UINT l4, int def, int cancel)
{
    return ShowMessageBox(3, id, l1, l2, l3, l4, def, cancel);
}

int ReportError(UINT id, ...)
{
    va_list args;
    va_start(args, id);
    FormatReport(id, args);
    va_end(args);
    return ShowMessageBox(3, 0, 0, 0, 0, 0, 1, 2);
}
