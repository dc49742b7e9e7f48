// CException: the base of the framework's exceptions. They are thrown as pointers to heap
// objects; the handler that catches one calls Delete:
//     try { ... } catch (CFileException* e) { ...; e->Delete(); }
#pragma once

#include "framework/core/CObject.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;

    void Delete() { delete this; }
    // Copies a description of the error (at most nMaxError - 1 characters and a NUL) and
    // answers TRUE when there is one; pnHelpContext, when given, receives 0.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
};
