// The browser preview: an HTML page in a temporary file that shows the graphic or the
// navigation bar as it will look on the web, with the program's header, the information
// about the exported file and its download times, opened in the default browser.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "navbar/PreviewInfoSection.h"

// "#rrggbb" of a COLORREF.
CString FormatHTMLColour(COLORREF colour);
// "" for an empty path; otherwise the file URL of the path, taken under the program root when
// it is not absolute.
CString MakeFileURL(const CString& path);

// The function that opens a written page in the browser (the program installs the shell's;
// it reports a missing browser itself). Without one, pages are written and not opened.
using PreviewPageOpener = bool (*)(const char* path);
void SetPreviewPageOpener(PreviewPageOpener opener);

class CBrowserPreviewPage {
 public:
  explicit CBrowserPreviewPage(const PreviewInfo& info, const CString& path = CString())
      : m_info(info), m_path(path) {}
  virtual ~CBrowserPreviewPage() = default;

  virtual CString GetPath() const { return m_path; }
  virtual CString GetTitle() const;
  virtual CString GetHeading() const;
  virtual CString GetBackgroundColour() const { return "#ffffff"; }
  virtual CString GetBackgroundImage() const { return CString(); }
  virtual CString WriteGraphic(int indent) const = 0;
  virtual CString GetCaption() const { return CString(); }
  virtual CString WriteInfo(int indent) const;

  CString BuildHTML() const;
  // Writes the page to GetPath() and opens it; nothing happens when it cannot be written.
  void WriteAndOpen() const;

 protected:
  // A picture of the page (a path, relative ones to the program root) as the page refers to it.
  CString Picture(const CString& path) const;
  PreviewInfo m_info;
  CString m_path;
};

// A single graphic over its background colour and image.
class CGraphicPreviewPage : public CBrowserPreviewPage {
 public:
  CGraphicPreviewPage(const PreviewInfo& info, COLORREF background, const CString& backgroundImage,
                      const CString& path = CString())
      : CBrowserPreviewPage(info, path), m_background(background), m_backgroundImage(backgroundImage) {}
  CString GetBackgroundColour() const override { return FormatHTMLColour(m_background); }
  CString GetBackgroundImage() const override { return Picture(m_backgroundImage); }
  CString WriteGraphic(int indent) const override;

 private:
  COLORREF m_background;
  CString m_backgroundImage;
};

// A background graphic tiling the preview table.
class CBackgroundPreviewPage : public CBrowserPreviewPage {
 public:
  using CBrowserPreviewPage::CBrowserPreviewPage;
  CString GetBackgroundImage() const override { return Picture(m_info.path); }
  CString WriteGraphic(int indent) const override;
};

// A navigation bar shown through its snippet; the page lies where the snippet's script and
// images are found.
class CNavBarPreviewPage : public CBrowserPreviewPage {
 public:
  CNavBarPreviewPage(const PreviewInfo& info, const CString& pagePath, const CString& snippet, COLORREF background,
                     const CString& backgroundImage)
      : CBrowserPreviewPage(info, pagePath),
        m_snippet(snippet),
        m_background(background),
        m_backgroundImage(backgroundImage) {}
  CString GetBackgroundColour() const override { return FormatHTMLColour(m_background); }
  CString GetBackgroundImage() const override { return Picture(m_backgroundImage); }
  CString WriteGraphic(int indent) const override;

 private:
  CString m_snippet;
  COLORREF m_background;
  CString m_backgroundImage;
};
