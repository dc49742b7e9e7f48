// The application's services as free functions; each calls the application object.
#pragma once

#include "framework/win/Afxwin.h"

class CWidgetsApp;
class CWidgetsDlg;
class COptions;
class COperationsManager;
class CGraphicMenu;
class CPropertiesMenu;
class CTessro;
class CPanelMessage;

COptions* GetOptions();
COptions* GetBackupOptions();
COperationsManager* GetOperationsManager();
CWidgetsDlg* GetMainDialog();
CWnd* GetMainWnd();
CGraphicMenu* GetGraphicMenu();
CPropertiesMenu* GetPropertiesMenu();
// The rasterizer wrapper made with the application; null only when it could not be made.
CTessro* GetTessroContext();
CString GetRootPath();
CString GetTemplatesFolder(bool withBackslash, bool withRoot, bool lowerCase);
bool IsWindowsNT();
CString GetOSVersionText();
CString GetProductName();
CString GetVersionText();
CString GetBuildKindText();

// Gives the utilities the application's root folder, error recording and message box.
void InstallAppUtilServices();

void FreezeMainWindow();
void UnfreezeMainWindow();

// Shell folder of a kind: 1 network neighbourhood, 2 network shortcuts, 3 documents,
// 6 desktop, 8 pictures, anything else the application-data folder; empty when none.
CString GetSpecialFolder(int kind);
CString GetSpecialFolderDisplayName(int csidl);
CString GetPersonalFolderName();
// Opens a file or web address with its program; shows why when it cannot.
bool OpenWithShell(const char* text);
// TRUE when the process may act as administrator; sets *administrator.
int IsAdministrator(int* administrator);

// The whole file in a new[] buffer with a NUL after the data; null when the file cannot be
// read whole. The caller deletes[] it.
char* ReadWholeFile(const char* path, DWORD* length);
void MoveDwords(DWORD* target, const DWORD* source, int count);
void FillDwords(DWORD* target, DWORD value, int count);
void DrawBevelFrame(CWnd* window, CDC* dc, const RECT* offsets, bool sunken);
