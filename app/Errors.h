// Error reporting: one process-wide pending error and the functions that show messages.
//
// A function that detects a fault records a pending error and returns failure; whoever
// finally tells the user calls one of the Inform/Report functions, which show the program's
// message dialog and then clear the pending error. Internal faults record the source line
// and file first:
//
//     BW_INTERNAL_ERROR("OnIdleManager.cpp");   // then return failure
//
// User-interface thread only.
#pragma once

#include "framework/core/Afx.h"

enum { kErrorTextSize = 256 };  // the record holds 255 characters and a terminator

extern char g_ErrorText[kErrorTextSize];
extern int g_ErrorKind;      // 0 none, 1 text set directly, 2 loaded from a string id
extern int g_ErrorSlotFree;  // 1 while no error is pending
extern unsigned int g_ErrorLine;
extern const char* g_ErrorFile;
extern int g_MessageBoxUp;   // 1 while a message box is on screen
extern int g_MessageShown;   // set whenever a message box has closed

// The source path recorded for internal faults: a fixed folder and the file's own name, so
// that the short name the user reads ("C.On.er") locates the file and no build path leaks.
#define BW_SOURCE_PATH(name) "C:\\Barwright\\" name
#define BW_INTERNAL_ERROR(name) \
    (g_ErrorLine = __LINE__, g_ErrorFile = BW_SOURCE_PATH(name), SetInternalError())
#define BW_INTERNAL_ERROR_MSG(name, reason) \
    (g_ErrorLine = __LINE__, g_ErrorFile = BW_SOURCE_PATH(name), SetInternalErrorMsg(reason))

void SetError(UINT id, const char* text);
void SetErrorText(const char* text);
void SetErrorFromId(UINT id);
void ClearError();
void SetInternalError();
void SetInternalErrorMsg(const char* reason);
// The short form of a source path used in internal error texts.
CString ShortSourceName(const char* path);

// A message request passed by address.
struct CErrorBoxInfo {
    int messageId;
    int titleId;      // 0: title by severity
    int labels[4];    // the first defaults to 10020 "OK"; 0 = no button
    int defaultIndex; // 1-based
    int cancelIndex;  // 1-based
};

// What the message box needs from the main window, filled in by the application.
struct MessageBoxHost {
    void (*setMessageBoxUp)(int up);  // InformWarning's flag on the main dialog
    void (*repaintMain)();            // the main dialog's paint handling, run after a box
};
void SetMessageBoxHost(const MessageBoxHost& host);

int ShowMessageBox(int severity, UINT messageId, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0,
                   UINT label4 = 0, int defaultIndex = 1, int cancelIndex = 2);
int ShowMessageBoxEx(int severity, CErrorBoxInfo* info);

int InformPlain(UINT messageId, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0, UINT label4 = 0,
                int defaultIndex = 1, int cancelIndex = 2);
int InformMessage(UINT messageId, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0, UINT label4 = 0,
                  int defaultIndex = 1, int cancelIndex = 2);
int InformMessageEx(CErrorBoxInfo* info);
int InformMessageWithPath(UINT messageId, const char* path, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0,
                          UINT label4 = 0, int defaultIndex = 1, int cancelIndex = 2);
int InformWarning(UINT messageId, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0, UINT label4 = 0,
                  int defaultIndex = 1, int cancelIndex = 2);
int InformWarningWithPath(UINT messageId, const char* path, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0,
                          UINT label4 = 0, int defaultIndex = 1, int cancelIndex = 2);
int ReportWarning(UINT messageId, ...);
int InformError(UINT messageId, UINT label1 = 0, UINT label2 = 0, UINT label3 = 0, UINT label4 = 0,
                int defaultIndex = 1, int cancelIndex = 2);
int ReportError(UINT messageId, ...);

// A path with a blank after every backslash, so that a long path can wrap at its separators.
CString SpacePathForWrapping(const char* path);
