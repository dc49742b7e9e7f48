// Message maps: each window class lists the messages it handles in a static table built by
// BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP. An entry holds a small captureless adapter that
// unpacks wParam/lParam and calls the member handler, so the table needs no union of member
// function pointer types. A class's table links to its base class's table; lookup walks from
// the most derived table to CWnd's.
#pragma once

#include <windows.h>

class CWnd;

// Adapter: calls the handler and stores its result. Answers FALSE when it declines the
// message (a reflected notification that the handler did not consume), so the lookup goes on.
typedef BOOL (*BwMessageThunk)(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct CMessageMapEntry {
    UINT message;  // window message; WM_COMMAND / WM_NOTIFY for commands and notifications
    UINT code;     // notification code for WM_COMMAND / WM_NOTIFY entries
    UINT idFirst;  // control or command id range (inclusive)
    UINT idLast;
    BwMessageThunk thunk;  // null ends the table
};

struct CMessageMap {
    const CMessageMap* (*base)();
    const CMessageMapEntry* entries;
};

// Messages that a parent reflects back to the control that sent them.
#define BW_WM_REFLECT_BASE 0xBC00

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
    static const CMessageMap* GetThisMessageMap();            \
    virtual const CMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const CMessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
    const CMessageMap* theClass::GetThisMessageMap()                                        \
    {                                                                                       \
        typedef theClass ThisClass;                                                         \
        typedef baseClass TheBaseClass;                                                     \
        (void)sizeof(ThisClass*);                                                           \
        static const CMessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                   \
            { 0, 0, 0, 0, nullptr }                                                         \
        };                                                                                  \
        static const CMessageMap map = { &TheBaseClass::GetThisMessageMap, entries };       \
        return &map;                                                                        \
    }

#define BW_SELF(w) static_cast<ThisClass*>(w)

// ---- Window messages -------------------------------------------------------------------
#define BW_ON_VOID(msg, call)                                                                   \
    { msg, 0, 0, 0, [](CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT* r) -> BOOL {      \
          (void)wParam; (void)lParam; BW_SELF(w)->call; *r = 0; return TRUE; } },
#define BW_ON_RESULT(msg, call)                                                                 \
    { msg, 0, 0, 0, [](CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT* r) -> BOOL {      \
          (void)wParam; (void)lParam; *r = (LRESULT)(BW_SELF(w)->call); return TRUE; } },

#define BW_POINT(lp) CPoint((int)(short)LOWORD(lp), (int)(short)HIWORD(lp))

#define ON_WM_CREATE() BW_ON_RESULT(WM_CREATE, OnCreate((LPCREATESTRUCT)lParam))
#define ON_WM_DESTROY() BW_ON_VOID(WM_DESTROY, OnDestroy())
#define ON_WM_CLOSE() BW_ON_VOID(WM_CLOSE, OnClose())
#define ON_WM_PAINT() BW_ON_VOID(WM_PAINT, OnPaint())
#define ON_WM_TIMER() BW_ON_VOID(WM_TIMER, OnTimer((UINT_PTR)wParam))
#define ON_WM_SIZE() BW_ON_VOID(WM_SIZE, OnSize((UINT)wParam, (int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam)))
#define ON_WM_SIZING() BW_ON_VOID(WM_SIZING, OnSizing((UINT)wParam, (LPRECT)lParam))
#define ON_WM_LBUTTONDOWN() BW_ON_VOID(WM_LBUTTONDOWN, OnLButtonDown((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_LBUTTONUP() BW_ON_VOID(WM_LBUTTONUP, OnLButtonUp((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_RBUTTONDOWN() BW_ON_VOID(WM_RBUTTONDOWN, OnRButtonDown((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_MOUSEMOVE() BW_ON_VOID(WM_MOUSEMOVE, OnMouseMove((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_KEYDOWN() BW_ON_VOID(WM_KEYDOWN, OnKeyDown((UINT)wParam, (UINT)LOWORD(lParam), (UINT)HIWORD(lParam)))
#define ON_WM_SHOWWINDOW() BW_ON_VOID(WM_SHOWWINDOW, OnShowWindow((BOOL)wParam, (UINT)lParam))
#define ON_WM_SYSCOMMAND() BW_ON_VOID(WM_SYSCOMMAND, OnSysCommand((UINT)wParam, lParam))
#define ON_WM_QUERYDRAGICON() BW_ON_RESULT(WM_QUERYDRAGICON, OnQueryDragIcon())
#define ON_WM_QUERYNEWPALETTE() BW_ON_RESULT(WM_QUERYNEWPALETTE, OnQueryNewPalette())
#define ON_WM_PALETTECHANGED() BW_ON_VOID(WM_PALETTECHANGED, OnPaletteChanged(CWnd::FromHandle((HWND)wParam)))
#define ON_WM_PALETTEISCHANGING() BW_ON_VOID(WM_PALETTEISCHANGING, OnPaletteIsChanging(CWnd::FromHandle((HWND)wParam)))
#define ON_WM_ERASEBKGND() BW_ON_RESULT(WM_ERASEBKGND, OnEraseBkgnd(CDC::FromHandle((HDC)wParam)))
#define ON_WM_NCLBUTTONDOWN() BW_ON_VOID(WM_NCLBUTTONDOWN, OnNcLButtonDown((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_ACTIVATE() BW_ON_VOID(WM_ACTIVATE, OnActivate((UINT)LOWORD(wParam), CWnd::FromHandle((HWND)lParam), (BOOL)HIWORD(wParam)))
#define ON_WM_SETFOCUS() BW_ON_VOID(WM_SETFOCUS, OnSetFocus(CWnd::FromHandle((HWND)wParam)))
#define ON_WM_COPYDATA() BW_ON_RESULT(WM_COPYDATA, OnCopyData(CWnd::FromHandle((HWND)wParam), (COPYDATASTRUCT*)lParam))
#define ON_WM_FONTCHANGE() BW_ON_VOID(WM_FONTCHANGE, OnFontChange())
#define ON_WM_CONTEXTMENU() BW_ON_VOID(WM_CONTEXTMENU, OnContextMenu(CWnd::FromHandle((HWND)wParam), BW_POINT(lParam)))
#define ON_WM_HELPINFO() BW_ON_RESULT(WM_HELP, OnHelpInfo((HELPINFO*)lParam))
#define ON_WM_SETCURSOR() BW_ON_RESULT(WM_SETCURSOR, OnSetCursor(CWnd::FromHandle((HWND)wParam), (UINT)LOWORD(lParam), (UINT)HIWORD(lParam)))

// Scrolling, buttons, keys, focus, wheel, dropped files, enabling and hit testing.
#define ON_WM_HSCROLL() BW_ON_VOID(WM_HSCROLL, OnHScroll((UINT)LOWORD(wParam), (UINT)HIWORD(wParam), CWnd::FromHandle((HWND)lParam)))
#define ON_WM_VSCROLL() BW_ON_VOID(WM_VSCROLL, OnVScroll((UINT)LOWORD(wParam), (UINT)HIWORD(wParam), CWnd::FromHandle((HWND)lParam)))
#define ON_WM_LBUTTONDBLCLK() BW_ON_VOID(WM_LBUTTONDBLCLK, OnLButtonDblClk((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_RBUTTONUP() BW_ON_VOID(WM_RBUTTONUP, OnRButtonUp((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_RBUTTONDBLCLK() BW_ON_VOID(WM_RBUTTONDBLCLK, OnRButtonDblClk((UINT)wParam, BW_POINT(lParam)))
#define ON_WM_KILLFOCUS() BW_ON_VOID(WM_KILLFOCUS, OnKillFocus(CWnd::FromHandle((HWND)wParam)))
#define ON_WM_MOUSEWHEEL() BW_ON_RESULT(WM_MOUSEWHEEL, OnMouseWheel((UINT)LOWORD(wParam), (short)HIWORD(wParam), BW_POINT(lParam)))
#define ON_WM_CHAR() BW_ON_VOID(WM_CHAR, OnChar((UINT)wParam, (UINT)LOWORD(lParam), (UINT)HIWORD(lParam)))
#define ON_WM_KEYUP() BW_ON_VOID(WM_KEYUP, OnKeyUp((UINT)wParam, (UINT)LOWORD(lParam), (UINT)HIWORD(lParam)))
#define ON_WM_DROPFILES() BW_ON_VOID(WM_DROPFILES, OnDropFiles((HDROP)wParam))
#define ON_WM_ENABLE() BW_ON_VOID(WM_ENABLE, OnEnable((BOOL)wParam))
#define ON_WM_NCHITTEST() BW_ON_RESULT(WM_NCHITTEST, OnNcHitTest(BW_POINT(lParam)))

// Control colours: OnCtlColor(CDC*, CWnd* control, UINT CTLCOLOR_ kind) for every kind of
// child. ON_WM_CTLCOLOR_REFLECT lets the control colour itself: CtlColor(CDC*, UINT kind);
// a null brush declines, and the parent's own handling goes on.
#define BW_ON_CTLCOLOR(msg, kind)                                                               \
    { msg, 0, 0, 0, [](CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT* r) -> BOOL {      \
          *r = (LRESULT)BW_SELF(w)->OnCtlColor(CDC::FromHandle((HDC)wParam), CWnd::FromHandle((HWND)lParam), kind); \
          return TRUE; } },
#define ON_WM_CTLCOLOR()                                                                        \
    BW_ON_CTLCOLOR(WM_CTLCOLORMSGBOX, CTLCOLOR_MSGBOX) BW_ON_CTLCOLOR(WM_CTLCOLOREDIT, CTLCOLOR_EDIT) \
    BW_ON_CTLCOLOR(WM_CTLCOLORLISTBOX, CTLCOLOR_LISTBOX) BW_ON_CTLCOLOR(WM_CTLCOLORBTN, CTLCOLOR_BTN) \
    BW_ON_CTLCOLOR(WM_CTLCOLORDLG, CTLCOLOR_DLG) BW_ON_CTLCOLOR(WM_CTLCOLORSCROLLBAR, CTLCOLOR_SCROLLBAR) \
    BW_ON_CTLCOLOR(WM_CTLCOLORSTATIC, CTLCOLOR_STATIC)
#define BW_ON_CTLCOLOR_REFLECT(msg, kind)                                                       \
    { BW_WM_REFLECT_BASE + msg, 0, 0, 0, [](CWnd* w, UINT, WPARAM wParam, LPARAM, LRESULT* r) -> BOOL { \
          HBRUSH brush = BW_SELF(w)->CtlColor(CDC::FromHandle((HDC)wParam), kind);               \
          *r = (LRESULT)brush; return brush != nullptr; } },
#define ON_WM_CTLCOLOR_REFLECT()                                                                \
    BW_ON_CTLCOLOR_REFLECT(WM_CTLCOLOREDIT, CTLCOLOR_EDIT) BW_ON_CTLCOLOR_REFLECT(WM_CTLCOLORLISTBOX, CTLCOLOR_LISTBOX) \
    BW_ON_CTLCOLOR_REFLECT(WM_CTLCOLORBTN, CTLCOLOR_BTN) BW_ON_CTLCOLOR_REFLECT(WM_CTLCOLORSCROLLBAR, CTLCOLOR_SCROLLBAR) \
    BW_ON_CTLCOLOR_REFLECT(WM_CTLCOLORSTATIC, CTLCOLOR_STATIC)

// ON_MESSAGE(message, LRESULT Handler(WPARAM, LPARAM))
#define ON_MESSAGE(msg, memberFxn)                                                              \
    { msg, 0, 0, 0, [](CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT* r) -> BOOL {      \
          *r = BW_SELF(w)->memberFxn(wParam, lParam); return TRUE; } },

// ON_REGISTERED_MESSAGE(message id variable, LRESULT Handler(WPARAM, LPARAM)): the id is read
// when the class's map is first used, so it must be registered by then.
#define ON_REGISTERED_MESSAGE(msgVariable, memberFxn) ON_MESSAGE(msgVariable, memberFxn)

// ---- Commands and notifications --------------------------------------------------------
// ON_COMMAND(id, void Handler())
#define ON_COMMAND(id, memberFxn)                                                               \
    { WM_COMMAND, 0, (UINT)(id), (UINT)(id), [](CWnd* w, UINT, WPARAM, LPARAM, LRESULT* r) -> BOOL { \
          BW_SELF(w)->memberFxn(); *r = 0; return TRUE; } },
// ON_COMMAND_RANGE(first, last, void Handler(UINT id))
#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn)                                            \
    { WM_COMMAND, 0, (UINT)(idFirst), (UINT)(idLast), [](CWnd* w, UINT, WPARAM wParam, LPARAM, LRESULT* r) -> BOOL { \
          BW_SELF(w)->memberFxn((UINT)LOWORD(wParam)); *r = 0; return TRUE; } },
// ON_CONTROL(code, id, void Handler())
#define ON_CONTROL(notifyCode, id, memberFxn)                                                   \
    { WM_COMMAND, (UINT)(notifyCode), (UINT)(id), (UINT)(id), [](CWnd* w, UINT, WPARAM, LPARAM, LRESULT* r) -> BOOL { \
          BW_SELF(w)->memberFxn(); *r = 0; return TRUE; } },
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
// ON_NOTIFY(code, id, void Handler(NMHDR*, LRESULT*))
#define ON_NOTIFY(notifyCode, id, memberFxn)                                                    \
    { WM_NOTIFY, (UINT)(notifyCode), (UINT)(id), (UINT)(id), [](CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT* r) -> BOOL { \
          *r = 0; BW_SELF(w)->memberFxn((NMHDR*)lParam, r); return TRUE; } },

// ON_NOTIFY_RANGE(code, first, last, void Handler(UINT id, NMHDR*, LRESULT*))
#define ON_NOTIFY_RANGE(notifyCode, idFirst, idLast, memberFxn)                                 \
    { WM_NOTIFY, (UINT)(notifyCode), (UINT)(idFirst), (UINT)(idLast), [](CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT* r) -> BOOL { \
          *r = 0; BW_SELF(w)->memberFxn((UINT)((NMHDR*)lParam)->idFrom, (NMHDR*)lParam, r); return TRUE; } },

// Reflection: the control itself handles a notification it sent to its parent.
// ON_CONTROL_REFLECT(code, void Handler()); ON_NOTIFY_REFLECT(code, void Handler(NMHDR*, LRESULT*))
#define ON_CONTROL_REFLECT(notifyCode, memberFxn)                                               \
    { BW_WM_REFLECT_BASE + WM_COMMAND, (UINT)(notifyCode), 0, 0xFFFF, [](CWnd* w, UINT, WPARAM, LPARAM, LRESULT* r) -> BOOL { \
          BW_SELF(w)->memberFxn(); *r = 0; return TRUE; } },
#define ON_NOTIFY_REFLECT(notifyCode, memberFxn)                                                \
    { BW_WM_REFLECT_BASE + WM_NOTIFY, (UINT)(notifyCode), 0, 0xFFFF, [](CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT* r) -> BOOL { \
          *r = 0; BW_SELF(w)->memberFxn((NMHDR*)lParam, r); return TRUE; } },
