#include "editors/FontList.h"

#include "editors/FontNames.h"
#include "panels/PanelServices.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

// Records are shown and matched at this height.
const LONG kRecordHeight = 21;

ENUMLOGFONTA* MakeRecord(const ENUMLOGFONTEXA& report)
{
    ENUMLOGFONTA* record = new (std::nothrow) ENUMLOGFONTA;
    if (!record)
        return nullptr;
    std::memset(record, 0, sizeof *record);
    record->elfLogFont = report.elfLogFont;
    std::memcpy(record->elfFullName, report.elfFullName, sizeof record->elfFullName);
    std::memcpy(record->elfStyle, report.elfStyle, sizeof record->elfStyle);
    record->elfFullName[sizeof record->elfFullName - 1] = '\0';
    record->elfStyle[sizeof record->elfStyle - 1] = '\0';
    record->elfLogFont.lfHeight = kRecordHeight;
    record->elfLogFont.lfWidth = 0;
    return record;
}

CString FixedText(const BYTE* text, std::size_t size)
{
    const char* chars = reinterpret_cast<const char*>(text);
    std::size_t length = 0;
    while (length < size && chars[length])
        ++length;
    return CString(std::string(chars, length).c_str());
}

CString FaceOf(const LOGFONTA& font)
{
    return FixedText(reinterpret_cast<const BYTE*>(font.lfFaceName), sizeof font.lfFaceName);
}

struct Enumeration {
    CFontList* list;
    HDC dc;
    bool windowsNT;
};

int CALLBACK AddFamilyMember(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM param)
{
    const ENUMLOGFONTEXA& report = *reinterpret_cast<const ENUMLOGFONTEXA*>(font);
    const CString fullName = FixedText(report.elfFullName, sizeof report.elfFullName);
    if (FontNames::AcceptFamilyMember(report.elfLogFont.lfCharSet, fontType, fullName))
        if (ENUMLOGFONTA* record = MakeRecord(report))
            reinterpret_cast<Enumeration*>(param)->list->Add(record);
    return 1;
}

int CALLBACK AddReport(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM param)
{
    Enumeration& enumeration = *reinterpret_cast<Enumeration*>(param);
    const ENUMLOGFONTEXA& report = *reinterpret_cast<const ENUMLOGFONTEXA*>(font);
    const int charSet = report.elfLogFont.lfCharSet;
    switch (FontNames::ClassifyReport(enumeration.windowsNT, charSet, FaceOf(report.elfLogFont), fontType)) {
    case FontNames::kScriptRecord:
        if (ENUMLOGFONTA* record = MakeRecord(report)) {
            FontNames::AppendScriptSuffix(reinterpret_cast<char*>(record->elfFullName),
                                          FixedText(report.elfScript, sizeof report.elfScript), charSet);
            enumeration.list->Add(record);
        }
        break;
    case FontNames::kFamily: {
        LOGFONTA family;
        std::memset(&family, 0, sizeof family);
        family.lfCharSet = DEFAULT_CHARSET;
        std::memcpy(family.lfFaceName, report.elfLogFont.lfFaceName, sizeof family.lfFaceName);
        family.lfFaceName[LF_FACESIZE - 1] = '\0';
        EnumFontFamiliesExA(enumeration.dc, &family, AddFamilyMember, param, 0);
        break;
    }
    case FontNames::kIgnore:
        break;
    }
    return 1;
}

bool IsWindowsNTPlatform()
{
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

CString GetFullName(const ENUMLOGFONTA& font)
{
    return FixedText(font.elfFullName, sizeof font.elfFullName);
}

CString GetFaceName(const ENUMLOGFONTA& font)
{
    return FaceOf(font.elfLogFont);
}

CFontList::CFontList()
{
    m_fonts.SetSize(0, 10);
}

CFontList::~CFontList()
{
    RemoveAllFonts();
}

void CFontList::RemoveAllFonts()
{
    for (int i = 0; i < m_fonts.GetSize(); ++i)
        delete static_cast<ENUMLOGFONTA*>(m_fonts.GetAt(i));
    m_fonts.RemoveAll();
}

void CFontList::Add(ENUMLOGFONTA* font)
{
    if (font)
        m_fonts.Add(font);
}

const ENUMLOGFONTA* CFontList::GetFont(int index) const
{
    return static_cast<const ENUMLOGFONTA*>(m_fonts.GetAt(index));
}

void CFontList::SortAndUnique()
{
    std::vector<FontNames::Names> names(static_cast<std::size_t>(m_fonts.GetSize()));
    for (int i = 0; i < m_fonts.GetSize(); ++i) {
        const ENUMLOGFONTA* font = GetFont(i);
        names[i].face = GetFaceName(*font);
        names[i].fullName = GetFullName(*font);
    }
    const std::vector<int> kept = FontNames::SortAndUniqueOrder(names);
    std::vector<bool> keep(names.size(), false);
    CPtrArray sorted;
    sorted.SetSize(0, 10);
    for (int index : kept) {
        keep[index] = true;
        sorted.Add(m_fonts.GetAt(index));
    }
    for (int i = 0; i < m_fonts.GetSize(); ++i)
        if (!keep[i])
            delete static_cast<ENUMLOGFONTA*>(m_fonts.GetAt(i));
    m_fonts.RemoveAll();
    for (int i = 0; i < sorted.GetSize(); ++i)
        m_fonts.Add(sorted.GetAt(i));
}

const ENUMLOGFONTA* CFontList::FindFullName(const CString& fullName, bool anyCase) const
{
    for (int i = 0; i < m_fonts.GetSize(); ++i) {
        const ENUMLOGFONTA* font = GetFont(i);
        const CString name = GetFullName(*font);
        if (anyCase ? name.CompareNoCase(fullName) == 0 : name == fullName)
            return font;
    }
    return nullptr;
}

void BuildFontList(CFontList& list)
{
    BuildFontList(list, IsWindowsNTPlatform());
}

void BuildFontList(CFontList& list, bool windowsNT)
{
    list.RemoveAllFonts();
    HDC screen = GetDC(nullptr);
    if (screen) {
        LOGFONTA all;
        std::memset(&all, 0, sizeof all);
        all.lfCharSet = DEFAULT_CHARSET;
        Enumeration enumeration{&list, screen, windowsNT};
        EnumFontFamiliesExA(screen, &all, AddReport, reinterpret_cast<LPARAM>(&enumeration), 0);
        ReleaseDC(nullptr, screen);
    }
    list.SortAndUnique();
}

CFontList& GetApplicationFontList()
{
    static CFontList list;
    return list;
}

int SubstituteFont(const CFontList& list, const CString& rootPath, CString* face)
{
    if (!face)
        return 0;
    if (list.FindFullName(*face, true))
        return 0;
    return FontNames::SubstituteFromFile(rootPath + "SysResources\\FontSub.txt", *face);
}

int SubstituteFont(CString* face)
{
    return SubstituteFont(GetApplicationFontList(), GetPanelServices().GetRootPath(), face);
}
