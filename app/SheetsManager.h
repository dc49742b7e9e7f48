// CSheetsManager: the design page, with a folder gallery and a search gallery; mode 1 shows
// the search gallery, mode 0 the folder gallery. It reloads the search lists on request and
// remembers the gallery location the page was left at.
#pragma once

#include "app/PromptPageManager.h"

// Where the folder gallery stands: a folder and a file in it.
struct CSheetsLocation {
    CString folder;
    CString fileName;
};

class CSheetsManager : public CPromptPageManager {
public:
    CSheetsManager();
    ~CSheetsManager() override;

    virtual int Create(CWnd* parent, CWinManagerBase* owner, double left, double prompt, double panel, int mode);
    int HandleCommand(const CString& command) override;
    void PlaceDialog(RECT* area, int redraw, int moveFirst) override { PlaceInset(area, redraw, 12, 8); }

    // Mode 1: the search gallery with value as its file-type filter; otherwise the folder
    // gallery with value as its view flags. Answers whether a panel exists.
    bool SetMode(int mode, int value);
    int GetMode() const { return m_mode; }
    int GetSearchType() const { return m_searchType; }
    // Shows the page; first: the galleries start from their beginning.
    void ActivateGallery(bool first);
    void SelectGalleryItem(const CString& path);
    // Copies a location (null clears it).
    void SetGalleryLocation(const CSheetsLocation* location);
    // The location, filled from the current record when it is empty; a working copy stands
    // for the template it was made from.
    CSheetsLocation GetGalleryLocation();
    // The search gallery's first template of a type mask; empty without one.
    CString GetFirstTemplate(unsigned mask);
    // The search gallery's root folder as the last "recachesearchgallerylists" command set it.
    const CString& GetSearchRootFolder() const { return m_searchRootFolder; }

    // The folder of "recachesearchgallerylists#folder#": the text between the first "#" and
    // the closing one; empty when the command does not end with "#".
    static CString RecacheFolder(const CString& command);

private:
    using CPromptPageManager::Create;
    int m_mode;
    int m_searchType;
    CWnd* m_folderGallery;
    CWnd* m_searchGallery;
    CSheetsLocation m_location;
    CString m_searchRootFolder;
};
