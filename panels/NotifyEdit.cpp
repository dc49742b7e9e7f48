#include "panels/NotifyEdit.h"

BEGIN_MESSAGE_MAP(CNotifyEdit, CEdit)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void CNotifyEdit::OnKillFocus(CWnd*)
{
    Default();
    if (CNotifyEditOwner* owner = dynamic_cast<CNotifyEditOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
        owner->OnNotifyEditLostFocus(this);
}
