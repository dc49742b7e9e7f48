// CFilterEdit: the base of edits that accept only some typed characters and pasted texts; the
// derived edit decides which. A refused character or paste beeps and changes nothing.
#pragma once

#include "framework/win/Edit.h"

class CFilterEdit : public CEdit {
public:
    virtual bool IsCharAllowed(UINT character) { return true; }
    virtual bool IsTextAllowed(const CString& text) { return true; }

    // Replaces the selection with the text when it is allowed; the caret follows it.
    void InsertFiltered(const CString& text);

protected:
    afx_msg void OnChar(UINT character, UINT repeat, UINT flags);
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
