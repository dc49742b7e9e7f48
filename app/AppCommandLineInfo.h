// The program's command line: what the user or an HTML editor asked for. ParseParam records
// the switches while the framework walks the arguments; Normalise then checks and completes
// the file and folder arguments.
#pragma once

#include "framework/win/Afxwin.h"

class CAppCommandLineInfo : public CCommandLineInfo {
public:
    CAppCommandLineInfo();

    void ParseParam(const char* param, BOOL isSwitch, BOOL isLast) override;
    // 0 when a file argument led to nothing usable (it is then cleared), else 1.
    int Normalise();
    CString GetStyleFilePath() const;

    const CString& GetDocPath() const { return m_docPath; }
    const CString& GetResultPath() const { return m_resultPath; }
    const CString& GetFileTitle() const { return m_fileTitle; }
    const CString& GetFileFolder() const { return m_fileFolder; }
    void SetFileFolder(const CString& folder)
    {
        m_fileFolder = folder;
        m_folderGiven = 1;
    }
    const CString& GetFileBaseName() const { return m_fileBaseName; }
    void SetFileBaseName(const CString& name) { m_fileBaseName = name; }
    const CString& GetThumbnailTitle() const { return m_title; }

    // What start-up does with the record, the first that applies.
    enum StartupAction {
        kOpenStyle,       // open GetStyleFilePath
        kNewPhoto,        // graphic type 12 without a file: the photo import page
        kOpenImage,       // graphic type 12 with a file
        kNewGraphic,      // a new graphic of m_graphicType
        kStartPage        // graphic type 11: nothing
    };
    StartupAction GetStartupAction() const;

    // Seams to the parts of the program that find style files and read image sizes.
    // StyleFileFinder: the best style file that may have produced the image, or empty.
    typedef CString (*StyleFileFinder)(const CString& candidate);
    typedef BOOL (*ImageSizeReader)(const CString& path, int* width, int* height);
    static void SetStyleFileFinder(StyleFileFinder finder);
    static StyleFileFinder GetStyleFileFinder();
    static void SetImageSizeReader(ImageSizeReader reader);

    HWND m_editorWindow;
    COLORREF m_backgroundColour;
    CString m_snippetId;
    CString m_resultPath;
    CString m_fileTitle;
    CString m_styleBaseName;
    CString m_fileDir;
    CString m_fileFolder;
    CString m_docPath;
    CString m_fileBaseName;
    int m_editorKind;
    int m_backgroundGiven;
    int m_openStyle;
    int m_folderGiven;
    int m_graphicType;
    int m_update;
    int m_hWndGiven;
    int m_thumbnail;
    CString m_title;
    int m_width;
    int m_height;

private:
    void ParseBackground(const CString& value);
    void ParseThumbnail(const CString& value);
    void FitThumbnailToImage();
};

// An editor started the program: a command-line record exists with the hWnd switch.
bool IsHostedByEditor();
