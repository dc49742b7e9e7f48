// CHomePageManager: the home page: the start prompt over a gallery of graphic types whose
// objects, when clicked, send their names as page commands.
#pragma once

#include "app/WinManagerBase.h"

class CStaticGallery;

class CHomePageManager : public CWinManagerBase {
public:
    CHomePageManager();

    int GetType() const override { return 2; }
    CWnd* GetViewWindow() override { return nullptr; }
    bool HasRevertButton() override { return false; }
    bool HasStyleButton() override { return false; }
    int HandleMessage(CPanelMessage* message) override;
    int HandleCommand(const CString& command) override;
    void PlaceDialog(RECT* area, int redraw, int moveFirst) override;
    void Refresh(int prompt, int view, int background, int panel) override;
    void RenderWindows(int showView, int prompt, int view, int background, int panel) override;
    int HitTestLowerRight(POINT* screen) override;

    virtual int Create(CWnd* parent, CWinManagerBase* owner, int reserved, const CString& prompt,
                       const CString& galleryDocument, double left, double promptProportion, double panel);
    virtual void ActivatePage() { Activate(1); }

    // The graphic-type gallery when its window exists.
    CStaticGallery* GetGallery() const;

private:
    using CWinManagerBase::Create;
    // The right ninth of the prompt; upper or lower half.
    bool HitTestRightNinth(POINT* screen, bool lower);
};
