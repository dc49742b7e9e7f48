#include "app/Downloader.h"

#include <process.h>

#include <mutex>
#include <vector>

namespace {
const char kAgent[] = "Quor Bar Wright";
const char kRequestHeaders[] = "Accept: */*\r\nUser-Agent: Quor IS Downloader\r\n";
const DWORD kReadSize = 1024;
const DWORD kProgressInterval = 30;  // milliseconds between progress posts
const DWORD kProfileNameSize = 1024;
const DWORD kDownloadCancelled = ERROR_INTERNET_OPERATION_CANCELLED;  // 12017
// A downloader destroyed while its worker runs waits this long before leaving the worker its
// own share of the state.
const DWORD kDestroyWait = 2000;
// The notify message's offsets for the progress and date posts.
const UINT kProgressOffset = 1;
const UINT kDateOffset = 2;

CDownloadSystem g_systemDownloads;
CDownloadSystem* g_downloadSystem = &g_systemDownloads;

// A failure of one step: the result code the worker ends with.
struct DownloadFailure {
    DWORD code;
};
}  // namespace

bool CDownloadSystem::IsConnected(DWORD* flags)
{
    return ::InternetGetConnectedState(flags, 0) != FALSE;
}

bool CDownloadSystem::FindDialProfile(CString& name, bool& defaultProfile)
{
    char buffer[kProfileNameSize] = {};
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "RemoteAccess\\", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD type = 0, size = sizeof buffer - 1;
        const LONG read = ::RegQueryValueExA(key, "InternetProfile", nullptr, &type, (BYTE*)buffer, &size);
        ::RegCloseKey(key);
        if (read == ERROR_SUCCESS && type == REG_SZ && buffer[0]) {
            buffer[size < sizeof buffer ? size : sizeof buffer - 1] = 0;
            name = buffer;
            defaultProfile = true;
            return true;
        }
    }
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "RemoteAccess\\Profile\\", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof buffer;
    const LONG found = ::RegEnumKeyExA(key, 0, buffer, &size, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    if (found != ERROR_SUCCESS || !buffer[0])
        return false;
    name = buffer;
    defaultProfile = false;
    return true;
}

DWORD CDownloadSystem::Dial(HWND parent, const CString& profile, DWORD flags, DWORD_PTR* connection)
{
    // The connection handle is a DWORD in some headers and a DWORD_PTR in others.
    DWORD handle = 0;
    const DWORD result = ::InternetDial(parent, (LPSTR)(const char*)profile, flags, &handle, 0);
    *connection = handle;
    return result;
}

void CDownloadSystem::HangUp(DWORD_PTR connection)
{
    ::InternetHangUp(connection, 0);
}

DWORD CDownloadSystem::AskCredentials(HINTERNET request)
{
    return ::InternetErrorDlg(::GetDesktopWindow(), request, ERROR_INTERNET_INCORRECT_PASSWORD,
                              FLAGS_ERROR_UI_FLAGS_GENERATE_DATA | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS, nullptr);
}

CDownloadSystem& GetDownloadSystem()
{
    return *g_downloadSystem;
}

void SetDownloadSystem(CDownloadSystem* system)
{
    g_downloadSystem = system ? system : &g_systemDownloads;
}

// ---- The session ----

CDownloadSession::CDownloadSession(const char* agent)
    : m_handle(::InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)), m_notifyWindow(nullptr),
      m_notifyMessage(0)
{
}

CDownloadSession::~CDownloadSession()
{
    if (m_handle) {
        ::InternetSetStatusCallback(m_handle, nullptr);
        ::InternetCloseHandle(m_handle);
    }
}

void CDownloadSession::SetNotify(HWND window, UINT message)
{
    m_notifyMessage = message;
    m_notifyWindow = window;
}

bool CDownloadSession::EnableStatusCallback()
{
    return m_handle && ::InternetSetStatusCallback(m_handle, OnStatus) != INTERNET_INVALID_STATUS_CALLBACK;
}

void CALLBACK CDownloadSession::OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD)
{
    // The connection and the request carry their session as their context.
    const CDownloadSession* session = reinterpret_cast<const CDownloadSession*>(context);
    if (!session)
        return;
    if (HWND window = session->m_notifyWindow)
        ::PostMessageA(window, session->m_notifyMessage, 0, (LPARAM)status);
}

// ---- The downloader ----

// What the worker and the owner share. The owner may let go of it while the worker runs; the
// worker then finishes on its own copy and posts nothing.
struct CDownloader::State {
    std::mutex lock;  // guards the handles, the notify window and the cancelled flag
    CString server, object;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    bool secure = false;
    CString localPath;
    HWND notifyWindow = nullptr;
    UINT notifyMessage = 0;
    std::unique_ptr<CDownloadSession> session;
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;
    int dialState = 0;
    DWORD_PTR dialConnection = 0;
    bool cancelled = false;

    void Post(UINT offset, WPARAM wParam, LPARAM lParam)
    {
        std::lock_guard<std::mutex> hold(lock);
        if (notifyWindow)
            ::PostMessageA(notifyWindow, notifyMessage + offset, wParam, lParam);
    }

    // Closes the request and then the connection; a blocked call on them fails.
    void CloseRequest()
    {
        std::lock_guard<std::mutex> hold(lock);
        CloseRequestLocked();
    }
    void CloseRequestLocked()
    {
        if (request)
            ::InternetCloseHandle(request);
        request = nullptr;
        if (connection)
            ::InternetCloseHandle(connection);
        connection = nullptr;
    }

    void CloseSession()
    {
        std::unique_ptr<CDownloadSession> old;
        {
            std::lock_guard<std::mutex> hold(lock);
            old = std::move(session);
        }
        old.reset();
        if (dialState == 2)
            GetDownloadSystem().HangUp(dialConnection);
        dialState = 0;
        dialConnection = 0;
    }

    // The request handle for one call, or the cancellation as a failure.
    HINTERNET Request()
    {
        std::lock_guard<std::mutex> hold(lock);
        if (cancelled || !request)
            throw DownloadFailure{kDownloadCancelled};
        return request;
    }

    // After a call on the request: a cancel meanwhile wins over whatever the call answered.
    void CheckNotCancelled()
    {
        std::lock_guard<std::mutex> hold(lock);
        if (cancelled || !request)
            throw DownloadFailure{kDownloadCancelled};
    }

    DWORD Run();
    void OpenSession();
    DWORD SendRequest();
    void ReadBody();
};

void CDownloader::State::OpenSession()
{
    CloseSession();
    CDownloadSystem& system = GetDownloadSystem();
    DWORD flags = 0;
    if (!system.IsConnected(&flags)) {
        if (flags & INTERNET_CONNECTION_LAN)
            throw DownloadFailure{kResultOffline};
        CString profile;
        bool defaultProfile = false;
        if (!system.FindDialProfile(profile, defaultProfile))
            throw DownloadFailure{kResultOffline};
        HWND parent;
        {
            std::lock_guard<std::mutex> hold(lock);
            parent = notifyWindow;
        }
        const DWORD dialFlags = defaultProfile ? INTERNET_AUTODIAL_FORCE_ONLINE : INTERNET_DIAL_FORCE_PROMPT;
        if (system.Dial(parent, profile, dialFlags, &dialConnection) != 0)
            throw DownloadFailure{kResultOffline};
        dialState = 2;
    }
    std::unique_ptr<CDownloadSession> made(new CDownloadSession(kAgent));
    if (!made->GetHandle())
        throw DownloadFailure{::GetLastError() ? ::GetLastError() : (DWORD)kResultOther};
    std::lock_guard<std::mutex> hold(lock);
    made->SetNotify(notifyWindow, notifyMessage);
    made->EnableStatusCallback();
    session = std::move(made);
}

DWORD CDownloader::State::SendRequest()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        CloseRequestLocked();
        if (cancelled || !session)
            throw DownloadFailure{kDownloadCancelled};
        const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(session.get());
        connection = ::InternetConnectA(session->GetHandle(), server, port, nullptr, nullptr,
                                        INTERNET_SERVICE_HTTP, 0, context);
        if (!connection)
            throw DownloadFailure{::GetLastError()};
        DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT;
        if (secure)
            flags |= INTERNET_FLAG_SECURE;
        request = ::HttpOpenRequestA(connection, "GET", object, nullptr, nullptr, nullptr, flags, context);
        if (!request)
            throw DownloadFailure{::GetLastError()};
        if (!::HttpAddRequestHeadersA(request, kRequestHeaders, (DWORD)-1, HTTP_ADDREQ_FLAG_ADD_IF_NEW))
            throw DownloadFailure{::GetLastError()};
    }
    // The send blocks: it runs outside the lock so that Cancel can close the request under it.
    const BOOL sent = ::HttpSendRequestA(Request(), nullptr, 0, nullptr, 0);
    const DWORD error = ::GetLastError();
    CheckNotCancelled();
    if (!sent)
        throw DownloadFailure{error ? error : (DWORD)kResultOther};
    DWORD status = 0, size = sizeof status;
    if (!::HttpQueryInfoA(Request(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        throw DownloadFailure{::GetLastError()};
    return status;
}

void CDownloader::State::ReadBody()
{
    DWORD length = 0, size = sizeof length;
    if (!::HttpQueryInfoA(Request(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr))
        length = 0;
    SYSTEMTIME modified = {};
    size = sizeof modified;
    LPARAM seconds = 0;
    if (::HttpQueryInfoA(Request(), HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &modified, &size,
                         nullptr)) {
        FILETIME file = {};
        if (::SystemTimeToFileTime(&modified, &file)) {
            const unsigned long long ticks = ((unsigned long long)file.dwHighDateTime << 32) | file.dwLowDateTime;
            const unsigned long long kEpoch = 116444736000000000ull;  // 1970 in 100 ns steps from 1601
            if (ticks > kEpoch)
                seconds = (LPARAM)((ticks - kEpoch) / 10000000ull);
        }
    }
    Post(kDateOffset, 2, seconds);

    // The body goes into a file beside the target, which replaces the target only once the whole
    // body has arrived: a transfer broken off leaves no half file behind.
    const CString partPath = localPath + ".part";
    HANDLE file = ::CreateFileA(partPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw DownloadFailure{::GetLastError()};
    DWORD result = 0;
    try {
        DWORD total = 0;
        DWORD lastProgress = ::GetTickCount();
        char buffer[kReadSize];
        for (;;) {
            DWORD got = 0;
            const BOOL read = ::InternetReadFile(Request(), buffer, kReadSize, &got);
            const DWORD error = ::GetLastError();
            CheckNotCancelled();
            if (!read)
                throw DownloadFailure{error ? error : (DWORD)kResultOther};
            total += got;
            const DWORD now = ::GetTickCount();
            if (got == 0 || now - lastProgress > kProgressInterval) {
                Post(kProgressOffset, total, length);
                lastProgress = now;
            }
            if (got == 0)
                break;
            DWORD written = 0;
            if (!::WriteFile(file, buffer, got, &written, nullptr) || written != got)
                throw DownloadFailure{::GetLastError() ? ::GetLastError() : (DWORD)ERROR_WRITE_FAULT};
        }
        // A body shorter than its announced length was broken off.
        if (length && total < length)
            throw DownloadFailure{ERROR_INTERNET_CONNECTION_ABORTED};
    } catch (const DownloadFailure& failure) {
        result = failure.code;
    }
    if (!::CloseHandle(file) && !result)
        result = ::GetLastError();
    if (!result && !::MoveFileExA(partPath, localPath, MOVEFILE_REPLACE_EXISTING))
        result = ::GetLastError();
    if (result) {
        ::DeleteFileA(partPath);
        throw DownloadFailure{result};
    }
    CloseRequest();
}

DWORD CDownloader::State::Run()
{
    try {
        OpenSession();
        DWORD status = SendRequest();
        if (status == HTTP_STATUS_DENIED || status == HTTP_STATUS_PROXY_AUTH_REQ) {
            char byte = 0;
            DWORD got = 0;
            while (::InternetReadFile(Request(), &byte, 1, &got) && got)
                ;
            CheckNotCancelled();
            if (GetDownloadSystem().AskCredentials(Request()) == ERROR_INTERNET_FORCE_RETRY) {
                const BOOL sent = ::HttpSendRequestA(Request(), nullptr, 0, nullptr, 0);
                const DWORD error = ::GetLastError();
                CheckNotCancelled();
                if (!sent)
                    throw DownloadFailure{error ? error : (DWORD)kResultOther};
                DWORD size = sizeof status;
                if (!::HttpQueryInfoA(Request(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                      nullptr))
                    throw DownloadFailure{::GetLastError()};
            } else {
                status = HTTP_STATUS_DENIED;
            }
        }
        if (status >= HTTP_STATUS_BAD_REQUEST) {
            CloseRequest();
            return kResultHttpStatus + status;
        }
        ReadBody();
        return 0;
    } catch (const DownloadFailure& failure) {
        CloseRequest();
        return failure.code ? failure.code : (DWORD)kResultOther;
    } catch (...) {
        CloseRequest();
        return kResultOther;
    }
}

namespace {
struct WorkerStart {
    std::shared_ptr<CDownloader::State> state;
};

unsigned __stdcall DownloadWorker(void* argument)
{
    if (!argument)
        return 2;
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(argument));
    const DWORD result = start->state->Run();
    start->state->Post(0, 1, (LPARAM)result);
    return result;
}
}  // namespace

CDownloader::CDownloader() : m_state(std::make_shared<State>()), m_thread(nullptr) {}

CDownloader::~CDownloader()
{
    {
        std::lock_guard<std::mutex> hold(m_state->lock);
        m_state->notifyWindow = nullptr;
        if (m_state->session)
            m_state->session->SetNotify(nullptr, 0);
    }
    Cancel();
    // A worker that does not end soon (a call that closing its handle did not abort) keeps its
    // own share of the state and ends by itself; it can post nothing any more.
    const bool ended = Wait(kDestroyWait);
    if (m_thread)
        ::CloseHandle(m_thread);
    if (ended)
        CloseSession();
}

void CDownloader::SetNotify(HWND window, UINT message)
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->notifyWindow = window;
    m_state->notifyMessage = message;
}

bool CDownloader::ParseAddress(const char* url, CString& server, CString& object, INTERNET_PORT& port, bool& secure)
{
    if (!url || !*url)
        return false;
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
    std::vector<char> path(INTERNET_MAX_URL_LENGTH + 1);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = (DWORD)path.size();
    if (!::InternetCrackUrlA(url, 0, 0, &parts))
        return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return false;
    if (!host[0])
        return false;
    server = host;
    object = path[0] ? path.data() : "/";
    port = parts.nPort;
    secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

DWORD CDownloader::Start(const char* url, const char* localPath)
{
    if (IsRunning())
        return ERROR_BUSY;
    CString server, object;
    INTERNET_PORT port = 0;
    bool secure = false;
    if (!ParseAddress(url, server, object, port, secure))
        return ERROR_INTERNET_INVALID_URL;
    // The worker of an earlier start has ended: a fresh state for this one.
    if (m_thread) {
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }
    {
        std::lock_guard<std::mutex> hold(m_state->lock);
        m_state->server = server;
        m_state->object = object;
        m_state->port = port;
        m_state->secure = secure;
        m_state->localPath = localPath ? localPath : "";
        m_state->cancelled = false;
    }
    WorkerStart* start = new WorkerStart{m_state};
    m_thread = (HANDLE)::_beginthreadex(nullptr, 0, DownloadWorker, start, 0, nullptr);
    if (!m_thread) {
        delete start;
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

void CDownloader::Cancel()
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    if (IsRunning())
        m_state->cancelled = true;
    m_state->CloseRequestLocked();
}

void CDownloader::CloseSession()
{
    m_state->CloseSession();
}

bool CDownloader::IsRunning() const
{
    return m_thread && ::WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

bool CDownloader::Wait(DWORD milliseconds) const
{
    return !m_thread || ::WaitForSingleObject(m_thread, milliseconds) != WAIT_TIMEOUT;
}
