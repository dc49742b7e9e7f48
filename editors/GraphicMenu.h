// CGraphicMenu: the context menu of the preview graphic (menu resource 187, its commands go to
// the main dialog) and the ways the graphic leaves the program: to the clipboard as a bitmap or
// as a file, or dragged out of the main window as a file. One instance lives for the whole run.
//
// A drag offers the file by delayed rendering (the drag-out's data object): the file is written
// at most once per drag, when a drop target first asks for it. After a drop the graphic's style
// and a thumbnail are saved into the current project beside the exported file's name.
#pragma once

#include "framework/win/Afxwin.h"

// The graphic's commands, in the menu's order.
enum GraphicMenuCommand {
    kGraphicMenuCopyBitmap = 32771,
    kGraphicMenuCopyFileName = 32772,
    kGraphicMenuUndoAllEdits = 32779,
    kGraphicMenuCreateStyle = 32823,
    kGraphicMenuInformation = 33268,
};

class CGraphicMenu : public CObject {
public:
    // A graphic of more pixels than this is copied under the wait cursor.
    static const int kWaitCursorPixels = 8000;

    CGraphicMenu();
    ~CGraphicMenu() override;

    // Greys what does not apply (UpdateItems) and tracks the menu at a point in the main
    // dialog's client coordinates, offset by 4 and 24 pixels, owned by the main dialog, which
    // receives the chosen command. The photo flag is not used. Nothing without the main dialog.
    void Show(int x, int y, int photo);
    // Undo and create style are greyed on a page without a graphic to edit; the two copies
    // while the current graphic's template is not ready.
    void UpdateItems();
    // The graphic as a packed 24-bit DIB on the clipboard; false without a ready graphic, when
    // no bitmap could be made or the clipboard did not take it.
    bool CopyBitmapToClipboard();
    // The graphic written to the next free export name, that file put on the clipboard as a
    // file drop and as text; false without a ready graphic, when nothing was written or the
    // clipboard did not take it.
    bool CopyFileNameToClipboard();
    // Drags the graphic out of the main window as a file at the next free export name, once
    // the pointer leaves the window with the button held; after a drop the style and thumbnail
    // are saved into the project. False when no drag could start.
    bool StartDrag(int x, int y);
    // After a drop: the exported file's signature becomes the record's, and the style file
    // (".qtw") and thumbnail (".qgt", a photo's ".jpg") named after it are written into the
    // current project's folder, dated like the exported file.
    void SaveStyleToProject();

    bool IsLoaded() const { return m_menu.GetSafeHmenu() != nullptr; }
    HMENU GetMenu() const { return m_menu.GetSafeHmenu(); }

private:
    CMenu m_menu;
};

// The file of the current (or last) drag; empty before the first.
CString& GetDraggedFilePath();
// A movable global block holding text and its terminating zero; null when none could be had.
HGLOBAL MakeTextGlobal(const char* text);
