#include "integration/ModuleFunctions.h"

#include "integration/Tw3InterfaceApp.h"

#include <vector>

namespace integration {

BSTR AnsiToBstr(const char* text)
{
    if (!text)
        return nullptr;
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return SysAllocString(L"");
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (result)
        MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
    return result;
}

std::string BstrToAnsi(BSTR text)
{
    const int count = text ? static_cast<int>(SysStringLen(text)) : 0;
    if (count == 0)
        return std::string();
    // Two bytes per character cover every double-byte code page.
    std::vector<char> buffer(static_cast<std::size_t>(count) * 2 + 2);
    const int written = WideCharToMultiByte(CP_ACP, 0, text, count, buffer.data(),
                                            static_cast<int>(buffer.size()), nullptr, nullptr);
    return std::string(buffer.data(), written > 0 ? static_cast<std::size_t>(written) : 0);
}

void ShowModuleMessage(const char* text)
{
    MessageBoxA(nullptr, text, kModuleMessageTitle, MB_OK);
}

void ShowLastSystemError()
{
    const DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text),
                   0, nullptr);
    if (text) {
        ShowModuleMessage(text);
        LocalFree(text);
    } else {
        char fallback[64];
        wsprintfA(fallback, "Error %lu", code);
        ShowModuleMessage(fallback);
    }
}

std::string LoadModuleString(UINT id)
{
    char text[1024];
    const int length = LoadStringA(CTw3InterfaceApp::Instance(), id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace integration
