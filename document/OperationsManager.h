// COperationsManager: the dispatcher between the user interface and the document.
//
// Every edit of the current graphic is announced through a Notify operation naming its change
// group; the manager passes it to the current handler and then refreshes what shows the
// graphic: the preview window, or the navigation bar in navigation-bar mode. It chooses the
// handler of a document by file extension and owns the handlers, the navigation bar model and
// the animation frame list.
#pragma once

#ifdef _WIN32

#include <vector>

#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

class CAnimationRenderer;
class CNavBarModel;
class COperationsHandler;
class COptions;
class CWnd;

class COperationsManager : public CObject {
  DECLARE_DYNAMIC(COperationsManager)

 public:
  explicit COperationsManager(CWnd* parent);
  COperationsManager(const COperationsManager&) = delete;
  COperationsManager& operator=(const COperationsManager&) = delete;
  ~COperationsManager() override;

  BOOL Init();
  // Appends an owned handler (Init adds the template handler).
  void AddHandler(COperationsHandler* handler);
  COperationsHandler* FindHandler(const CString& extension) const;
  BOOL OpenDocument(const CString& path, int flagA, int flagB);

  int NotifyChanged(COptions* document, int redraw, DWORD flags);
  int NotifyTextChanged(COptions* document, int redraw, int story);
  int NotifyFontChanged(COptions* document, int redraw, DWORD mask, int story);
  int NotifyColourChanged(COptions* document, int redraw, DWORD mask);
  int NotifyShadowChanged(COptions* document, int redraw);
  int NotifyTextureChanged(COptions* document, int redraw, int which);
  int NotifySizeChanged(COptions* document, int redraw);
  int NotifyConstraintChanged(COptions* document, int redraw);
  int NotifyExportSettingsChanged(COptions* document, int redraw);
  int Refresh(int redraw, DWORD flags);

  int SelectState(int state);
  COperationsHandler* GetFirstHandler() const { return m_handlers.empty() ? nullptr : m_handlers.front(); }
  COperationsHandler* GetCurrentHandler() const { return m_currentHandler; }
  BOOL GetPageRect(RECT* rect);
  CString GetFileName() const { return m_fileName; }
  CNavBarModel* GetNavBar() const { return m_navBar; }
  CAnimationRenderer* GetAnimationRenderer() const { return m_animation; }
  CWnd* GetParentWindow() const { return m_parent; }

  DWORD GetKeptRenderRequest() const { return m_keptRequest; }
  void SetKeptRenderRequest(DWORD word) { m_keptRequest = word; }
  int IsNavBarMode() const { return m_navBarMode; }
  void SetNavBarMode(int on) { m_navBarMode = on; }

  // Writes a 10 x 10 JPEG swatch of the record's TexReplacementColour; false when nothing could
  // be written.
  BOOL WriteColourSwatch(const CString& file);

  // The manager that initialised last and still exists (what the operations services hand out
  // unless the program says otherwise).
  static COperationsManager* GetInitialised();

 private:
  template <typename Call>
  int NotifyHandler(DWORD refreshFlags, int redraw, Call call);
  static void InternalError(int line);

  std::vector<COperationsHandler*> m_handlers;
  COperationsHandler* m_currentHandler = nullptr;
  CString m_fileName;
  CNavBarModel* m_navBar = nullptr;
  CAnimationRenderer* m_animation = nullptr;
  DWORD m_keptRequest = 0;
  int m_navBarMode = 0;
  CWnd* m_parent = nullptr;
};


#endif  // _WIN32
