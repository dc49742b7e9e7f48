// Fixtures shared by the utility tests: services with recorded calls, and a scratch folder.
#pragma once

#include <string>
#include <vector>

#include "util/AppUtilServices.h"
#include "util/FileSystem.h"
#include "util/FileUtils.h"

#ifdef _WIN32
#include <process.h>
#define BW_TEST_PID _getpid()
#else
#include <unistd.h>
#define BW_TEST_PID getpid()
#endif

class FakeServices : public CAppUtilServices {
public:
    CString root;
    CString templates;
    bool hasOperationsManager = true;
    bool navBarMode = false;
    std::vector<std::pair<unsigned, std::string>> internalErrors;
    std::vector<UINT> warnings;
    int answer = 2;  // cancel

    FakeServices() { SetAppUtilServices(this); }
    ~FakeServices() override { SetAppUtilServices(nullptr); }

    CString GetRootPath() override { return root; }
    CString GetTemplatesFolder() override { return templates; }
    bool HasOperationsManager() override { return hasOperationsManager; }
    bool IsNavBarMode() override { return navBarMode; }
    void SetInternalError(unsigned line, const char* file) override {
        internalErrors.emplace_back(line, file);
    }
    int InformWarningWithPath(UINT messageId, const char*, UINT, UINT, UINT, UINT, int,
                              int cancelIndex) override {
        warnings.push_back(messageId);
        return answer;
    }
    CString GetSpecialFolderDisplayName(int csidl) override {
        return csidl == 0x12 ? "Network" : "Computer";
    }
};

// A fresh folder under the system temporary folder, removed with its contents afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        static int counter = 0;
        CString name;
        name.Format("bw_apputil_%d_%d", static_cast<int>(BW_TEST_PID), ++counter);
        m_path = CFileUtils::WithBackslash(CFileUtils::GetSystemTempPath()) + name;
        FileSystem::CreateFolder(m_path);
    }
    ~ScratchFolder() { RemoveTree(m_path); }

    const CString& Path() const { return m_path; }
    CString operator/(const char* relative) const { return m_path + "\\" + relative; }

    // Writes bytes to a file below the folder and answers its path.
    CString Write(const char* relative, const std::string& bytes) const {
        CString path = *this / relative;
        std::FILE* f = FileSystem::OpenStream(path, "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }

    std::string Read(const char* relative) const {
        std::string bytes;
        std::FILE* f = FileSystem::OpenStream(*this / relative, "rb");
        if (!f)
            return bytes;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
        return bytes;
    }

private:
    static void RemoveTree(const CString& folder) {
        FileSystem::Finder finder;
        CString name;
        FileSystem::Status status;
        std::vector<std::pair<CString, bool>> entries;
        for (bool ok = finder.First(folder + "\\*", name, status); ok;
             ok = finder.Next(name, status))
            if (name != "." && name != "..")
                entries.emplace_back(folder + "\\" + name, status.folder);
        finder.Close();
        for (auto& entry : entries) {
            if (entry.second) {
                RemoveTree(entry.first);
            } else {
                FileSystem::ClearAttributes(entry.first);
                FileSystem::RemoveFile(entry.first);
            }
        }
        FileSystem::RemoveFolder(folder);
    }

    CString m_path;
};

// The path in the form the framework's file classes take: on the host build they hand it to the
// C library unchanged, so backslashes become "/" there.
inline CString FilePath(const CString& path) {
    CString native = path;
#ifndef _WIN32
    native.Replace('\\', '/');
#endif
    return native;
}

// CStrings compare and print as std::strings in the expectations.
inline std::string S(const CString& text) { return std::string(text.GetString(), text.GetLength()); }
