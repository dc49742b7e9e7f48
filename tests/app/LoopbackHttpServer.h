// A small HTTP server on 127.0.0.1 for the download tests, run on its own thread. Each path has
// one behaviour; a connection that is held open is held at most kHoldLimit, so the server stops
// by itself even when a test fails half-way.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

class CLoopbackHttpServer {
public:
    enum Behaviour {
        kServe,      // 200 with the body
        kMissing,    // 404
        kDenied,     // 401 asking for credentials
        kSilent,     // reads the request and answers nothing until released
        kStallBody,  // headers announcing a long body, 1 KB of it, then nothing until released
    };
    static const DWORD kHoldLimit = 15000;

    CLoopbackHttpServer()
    {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(m_listener, (sockaddr*)&address, sizeof address);
        int length = sizeof address;
        ::getsockname(m_listener, (sockaddr*)&address, &length);
        m_port = ntohs(address.sin_port);
        ::listen(m_listener, 8);
        m_released = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CLoopbackHttpServer()
    {
        m_stopping = true;
        ::SetEvent(m_released);
        ::closesocket(m_listener);
        m_thread.join();
        ::CloseHandle(m_released);
        ::WSACleanup();
    }

    void Add(const std::string& path, Behaviour behaviour, const std::string& body = std::string())
    {
        m_pages[path] = {behaviour, body};
    }
    // Lets held connections go (they close).
    void Release() { ::SetEvent(m_released); }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }
    int Requests() const { return m_requests; }

private:
    struct Page {
        Behaviour behaviour;
        std::string body;
    };

    void Serve()
    {
        for (;;) {
            SOCKET client = ::accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;  // the listener was closed
            // One connection at a time: the tests fetch one file at a time.
            Answer(client);
            ::closesocket(client);
            if (m_stopping)
                return;
        }
    }

    void Answer(SOCKET client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            request.append(buffer, got);
        }
        ++m_requests;
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        auto found = m_pages.find(path);
        const Page page = found == m_pages.end() ? Page{kMissing, ""} : found->second;
        std::string answer;
        switch (page.behaviour) {
        case kServe:
            answer = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.body.size()) +
                     "\r\nLast-Modified: Thu, 01 Jan 2004 00:00:10 GMT\r\nConnection: close\r\n\r\n" + page.body;
            break;
        case kMissing:
            answer = "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found";
            break;
        case kDenied:
            answer = "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"test\"\r\n"
                     "Content-Length: 6\r\nConnection: close\r\n\r\ndenied";
            break;
        case kSilent:
            ::WaitForSingleObject(m_released, kHoldLimit);
            return;
        case kStallBody:
            answer = "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n" + std::string(1024, 'x');
            Send(client, answer);
            ::WaitForSingleObject(m_released, kHoldLimit);
            return;
        }
        Send(client, answer);
        ::shutdown(client, SD_SEND);
    }

    static void Send(SOCKET client, const std::string& data)
    {
        size_t sent = 0;
        while (sent < data.size()) {
            const int n = ::send(client, data.data() + sent, (int)(data.size() - sent), 0);
            if (n <= 0)
                return;
            sent += n;
        }
    }

    SOCKET m_listener;
    int m_port = 0;
    HANDLE m_released;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_requests{0};
    std::map<std::string, Page> m_pages;
    std::thread m_thread;
};
