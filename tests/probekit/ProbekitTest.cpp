#include "probekit/Probekit.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <functional>
#include <string>

namespace {

// Runs body on a thread of its own, so each case starts with a thread that has no COM state.
void OnFreshThread(const std::function<void()>& body)
{
    struct Call {
        static DWORD WINAPI Run(LPVOID p)
        {
            (*static_cast<const std::function<void()>*>(p))();
            return 0;
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, Call::Run, const_cast<std::function<void()>*>(&body), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// True when the calling thread is not in any apartment (joining one then succeeds with S_OK).
bool ThreadHasNoComState()
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr == S_OK;
}

// Points "Microsoft.XMLDOM" at a class nobody serves while alive. This test runs in a Wine
// prefix of its own; a run that died half-way is mended by the next one.
class MissingParser {
public:
    static constexpr const char* kKey = "Microsoft.XMLDOM\\CLSID";
    static constexpr const char* kBogus = "{6B1C3E52-0000-4F00-9A00-5D1E00C0FFEE}";
    // Wine's DOMDocument class, put back when an earlier run could not restore the original.
    static constexpr const char* kWineDocument = "{2933BF90-7B36-11D2-B20E-00C04F983E60}";

    MissingParser()
    {
        MendInterruptedRun();
        m_saved = Read();
        Write(kBogus);
    }
    ~MissingParser() { Write(m_saved); }

    static void MendInterruptedRun()
    {
        if (Read() == kBogus)
            Write(kWineDocument);
    }

    static std::string Read()
    {
        char value[128] = {};
        LONG size = sizeof value;
        return RegQueryValueA(HKEY_CLASSES_ROOT, kKey, value, &size) == ERROR_SUCCESS ? value : "";
    }

private:
    static void Write(const std::string& value)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, kKey, REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
    }
    std::string m_saved;
};

}  // namespace

TEST(Probekit, AnswersTheSameFromEveryApartmentAndLeavesThreadStateAlone)
{
    MissingParser::MendInterruptedRun();
    int plain = -1;
    OnFreshThread([&] {
        plain = ProbekitParser();
        EXPECT_TRUE(ThreadHasNoComState());
        EXPECT_EQ(ProbekitParser(), plain);
        EXPECT_TRUE(ThreadHasNoComState());
    });
    // Wine registers its XML parser in every prefix.
    EXPECT_EQ(plain, 1);

    struct Case {
        const char* name;
        DWORD model;
    };
    const Case cases[] = {{"apartment", COINIT_APARTMENTTHREADED}, {"multithreaded", COINIT_MULTITHREADED}};
    for (const Case& c : cases) {
        OnFreshThread([&] {
            ASSERT_EQ(CoInitializeEx(nullptr, c.model), S_OK) << c.name;
            EXPECT_EQ(ProbekitParser(), plain) << c.name;
            // The caller's own initialisation is still there: joining again only counts up.
            const HRESULT again = CoInitializeEx(nullptr, c.model);
            EXPECT_EQ(again, S_FALSE) << c.name;
            CoUninitialize();
            CoUninitialize();
            EXPECT_TRUE(ThreadHasNoComState()) << c.name;
        });
    }
}

TEST(Probekit, AnswersZeroWhenTheParserCannotBeCreated)
{
    MissingParser missing;
    OnFreshThread([] {
        EXPECT_EQ(ProbekitParser(), 0);
        EXPECT_EQ(ProbekitParser(), 0);
        EXPECT_TRUE(ThreadHasNoComState());
    });
}
