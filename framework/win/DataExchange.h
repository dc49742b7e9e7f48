// Dialog data exchange: DoDataExchange lists the controls and the members they edit; the
// same list copies members into controls (OnInitDialog) and back (OnOK), validating on the
// way back. A failed conversion selects the control and makes UpdateData answer FALSE.
#pragma once

#include <windows.h>

#include "framework/core/Afx.h"

class CWnd;

class CDataExchange {
public:
    struct Failure {};

    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    HWND PrepareCtrl(int id);  // the control's handle; a missing control fails the exchange
    [[noreturn]] void Fail();

private:
    HWND m_lastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
