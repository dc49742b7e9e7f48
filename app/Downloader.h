// CDownloader: fetches one file over HTTP into a local file on a worker thread and tells a
// window how it goes by posted messages (M being the notify message):
//   (M, 0, status)        at every WinInet status callback of the session
//   (M + 2, 2, time)      once the request succeeded: the page's Last-Modified time, 1970 seconds
//   (M + 1, bytes, total) while the body arrives, at most every 30 ms, and once at its end
//   (M, 1, result)        once, when the worker ends
// Results: 0 success; a WinInet error (12005 bad address, 12017 cancelled); 5 offline and not
// dialled; 0xE00C0000 + status for an HTTP status of 400 or more; a system error of the local
// file; 31 anything else.
//
// The user-interface thread makes the object, starts it, may cancel it and reads the posts; the
// worker does all network and file work. The object may be destroyed at any time: it cancels
// the transfer, waits a while for the worker and otherwise leaves the worker its own share of
// the state, so nothing is freed under a running worker and nothing is posted after it is gone.
#pragma once

#include "framework/core/Afx.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <memory>

// The machine's connection, dial-up and credential prompts: replaced in tests, which can
// neither dial nor answer a system dialog.
class CDownloadSystem {
public:
    virtual ~CDownloadSystem() = default;
    // InternetGetConnectedState.
    virtual bool IsConnected(DWORD* flags);
    // The dial-up profile to use: the default one (defaultProfile set) or the first listed;
    // false when there is none.
    virtual bool FindDialProfile(CString& name, bool& defaultProfile);
    // InternetDial; 0 when the connection is up.
    virtual DWORD Dial(HWND parent, const CString& profile, DWORD flags, DWORD_PTR* connection);
    virtual void HangUp(DWORD_PTR connection);
    // The credentials prompt for a request the server or a proxy refused; answers
    // ERROR_INTERNET_FORCE_RETRY when the request is to be sent again.
    virtual DWORD AskCredentials(HINTERNET request);
};

// The system's answers; the default of every downloader.
CDownloadSystem& GetDownloadSystem();
// Installs another (not owned); null puts the system's back.
void SetDownloadSystem(CDownloadSystem* system);

// The WinInet session of a download: status callbacks go to the notify window as posts.
class CDownloadSession {
public:
    explicit CDownloadSession(const char* agent);
    ~CDownloadSession();
    CDownloadSession(const CDownloadSession&) = delete;
    CDownloadSession& operator=(const CDownloadSession&) = delete;

    HINTERNET GetHandle() const { return m_handle; }
    void SetNotify(HWND window, UINT message);
    // Sends the status callbacks to the notify window from now on.
    bool EnableStatusCallback();

private:
    static void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD length);

    HINTERNET m_handle;
    // Read by the callback on the worker thread while the owner may clear it.
    std::atomic<HWND> m_notifyWindow;
    std::atomic<UINT> m_notifyMessage;
};

class CDownloader {
public:
    enum : DWORD {
        kResultOffline = 5,
        kResultOther = 31,
        kResultHttpStatus = 0xE00C0000u,
    };

    CDownloader();
    ~CDownloader();
    CDownloader(const CDownloader&) = delete;
    CDownloader& operator=(const CDownloader&) = delete;

    void SetNotify(HWND window, UINT message);
    // Parses the address and starts the worker; returns at once. 0 on success, otherwise the
    // reason it could not start (12005 for an address that is not http or https).
    DWORD Start(const char* url, const char* localPath);
    // Aborts a transfer from any thread: the worker then ends with 12017.
    void Cancel();
    // Deletes the session and hangs up a connection this object dialled.
    void CloseSession();
    // Whether the worker is still running.
    bool IsRunning() const;
    // Waits up to milliseconds for the worker; true when it has ended (or never ran).
    bool Wait(DWORD milliseconds) const;

    // Splits an http or https address; false for anything else.
    static bool ParseAddress(const char* url, CString& server, CString& object, INTERNET_PORT& port,
                             bool& secure);

    struct State;

private:
    std::shared_ptr<State> m_state;
    HANDLE m_thread;
};
