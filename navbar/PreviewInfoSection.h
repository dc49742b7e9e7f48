// The sections of the browser preview page's information table: what is known about the
// exported file, and how long it takes to download at common speeds.
#pragma once

#include <cstdint>

#include "framework/core/CString.h"

// What the output panel knows about an exported image, as the exporter words it.
struct PreviewInfo {
  CString path;
  std::int32_t width = 0;
  std::int32_t height = 0;
  CString type, transparency, colourDepth, palette, dithering;  // empty: not applicable
  std::int32_t fileSize = 0;
  std::int32_t quality = -1;  // percent; -1: not applicable
};

// n blanks, the text and a line end: every line of the preview page is made this way.
CString Indent(int n, const CString& text);
// A resource string, or the given text when the resources do not have it.
CString PreviewString(unsigned id, const char* text);

class CPreviewInfoSection {
 public:
  explicit CPreviewInfoSection(const CString& title) : m_title(title) {}
  virtual ~CPreviewInfoSection() = default;
  virtual CString GetTitle() const { return m_title; }
  // The section's rows, each at indent.
  virtual CString WriteBody(int indent) const = 0;
  // The whole section: a table with the title, a rule and the rows.
  CString Write(int indent) const;

 protected:
  static CString Row(int indent, const CString& label, const CString& value);
  CString m_title;
};

class CFileInfoSection : public CPreviewInfoSection {
 public:
  // An empty title means "File information".
  CFileInfoSection(const PreviewInfo& info, const CString& title = CString());
  CString WriteBody(int indent) const override;

 private:
  PreviewInfo m_info;
};

class CDownloadTimesSection : public CPreviewInfoSection {
 public:
  // An empty title means "Best download times".
  CDownloadTimesSection(std::int32_t fileSize, const CString& title = CString());
  CString WriteBody(int indent) const override;

 private:
  std::int32_t m_fileSize;
};
