// The operations-manager side of the option record's services: every manager call the record
// makes (notifications, opening its template, state selection, the colour swatch) goes to the
// program's operations manager. The application derives its record services from this class
// and adds the rest (folders, messages, fonts, preferences).
#pragma once

#ifdef _WIN32

#include "document/OptionsServices.h"

class COperationsManager;

class COperationsOptionsServices : public COptionsServices {
 public:
  bool HasOperationsManager() override;
  bool IsNavBarMode() override;
  void SetNavBarMode(bool on) override;
  bool HasCurrentHandler() override;
  bool OpenDocument(const CString& path) override;
  RECT GetPageRect() override;
  void StopPreviewStateDisplay() override;
  void NotifyChanged(COptions* record, DWORD mask, bool redraw) override;
  void NotifyTextChanged(bool redraw, int story) override;
  void NotifyTextureChanged(bool redraw, int texture) override;
  void NotifyConstraintChanged(bool redraw) override;
  void NotifyShadowChanged(bool redraw) override;
  int SelectState(int state) override;
  void WriteColourSwatch(COLORREF colour) override;

 protected:
  COperationsManager* Manager();
};

#endif  // _WIN32
