// CSplashDlg: the borderless window that shows the product picture, the version line and a
// progress bar while the program starts. The application makes and shows it early in start-up
// and deletes it once the main window is up; the start pages advance it while they are built.
#pragma once

#include "bitmap/Dib.h"
#include "framework/win/Afxwin.h"

class CSplashDlg : public CWnd {
public:
    CSplashDlg();
    ~CSplashDlg() override;

    // Loads the picture, makes the window centred on the screen with its progress bar, and
    // shows it. False when the window cannot be made (start-up goes on without it).
    BOOL Show();
    // Brings the window forward and advances the progress bar by one of its steps.
    void Step();
    // Steps a splash window that may be absent (start-up goes on without one).
    static void Step(CSplashDlg* splash)
    {
        if (splash)
            splash->Step();
    }

    static const int kSteps = 11;  // the window managers take this many steps while they are built

    CString m_statusText;  // the version line, drawn under the picture's title

    HWND GetProgressBar() const { return m_progress; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CDib m_picture;
    HFONT m_font;
    HBRUSH m_nullBrush;
    int m_width;
    int m_height;
    HWND m_progress;
};
