// CNotifyEdit: an edit that tells its parent when it loses the focus, so that a panel can apply
// a value typed into it once the user moves on.
#pragma once

#include "framework/win/Edit.h"

// Implemented by a parent that wants to hear of it.
class CNotifyEditOwner {
public:
    virtual ~CNotifyEditOwner() = default;
    virtual void OnNotifyEditLostFocus(CWnd* edit) = 0;
};

class CNotifyEdit : public CEdit {
protected:
    afx_msg void OnKillFocus(CWnd* newWnd);
    DECLARE_MESSAGE_MAP()
};
