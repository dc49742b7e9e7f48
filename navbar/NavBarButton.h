// Buttons and end caps of a navigation bar. A button renders itself through the template by
// putting its text into the current graphic and keeps one image per state; an end cap renders
// from a style record of its own and has one image for all states.
#pragma once

#include "document/Options.h"
#include "navbar/NavBarItem.h"

class CNavBarButton : public CNavBarItem {
 public:
  CNavBarButton();
  int GetKind() const override { return 1; }
  void SetText(const CString& text) override;
  void SetURL(const CString& link, bool check) override;
  CString GetAltText(bool substitute) const override;
  void SetState(int state) override;
  virtual bool IsCap() const { return false; }
  // Renders the image of the current state unless it is valid (or flags hold 2: use what is
  // there); 1 on success.
  virtual int RenderState(int flags);

  // Forgets which states' images are current; pixels and cache entries stay for reuse.
  void DropImages();
  bool IsImageValid(int state) const;
  void SetImageValid(int state, bool valid);
  double GetDesignWidth() const { return m_designWidth; }
  double GetDesignHeight() const { return m_designHeight; }
  void SetDesignSize(double width, double height) {
    m_designWidth = width;
    m_designHeight = height;
  }
  // Where the renderer placed the image inside the item's slot of the bar image.
  int GetXOffset() const { return m_xOffset; }
  int GetYOffset() const { return m_yOffset; }
  void SetOffsets(int x, int y) {
    m_xOffset = x;
    m_yOffset = y;
  }

 protected:
  CString DefaultLink() const override;
  void Attach(CNavBarMenuItem* child) override;
  // Renders the current graphic with this button's text into the pixels (steps shared with
  // the caps); 1 on success.
  int RenderThroughTemplate();

  int m_imageValid[kStateCount] = {0, 0, 0, 0};
  double m_designWidth = 0;
  double m_designHeight = 0;
  int m_xOffset = 0;
  int m_yOffset = 0;
};

class CNavBarCapButton : public CNavBarButton {
 public:
  int GetKind() const override { return 2; }
  bool IsCap() const override { return true; }
  void SetState(int state) override { m_state = state; }
  int RenderState(int flags) override;
  // Loads a style file into the current graphic and takes it as the cap's own record.
  bool LoadStyle(const CString& path, StyleChangeMask mask);
  // Takes the parts of an edit that end caps share with the buttons; 1, or 0 without a graphic.
  int OnGraphicChanged(DWORD changeFlags);
  COptions& GetRecord() { return m_record; }
  const COptions& GetRecord() const { return m_record; }

 private:
  COptions m_record;
};
