#include "app/AppCommandLineInfo.h"

#include "app/ColourNames.h"
#include "app/Errors.h"
#include "app/Resource.h"
#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "util/TextFilters.h"
#include "gallery/StyleFileFinder.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {
CAppCommandLineInfo::StyleFileFinder g_styleFileFinder = FindStyleFileFor;
CAppCommandLineInfo::ImageSizeReader g_imageSizeReader = nullptr;

// The text of one "key<d>text<d>" part of the thumbnail switch; false when the key is
// missing, ends the value, or its closing delimiter is missing.
bool ThumbnailPart(const CString& value, const CString& lower, const char* key, CString& text)
{
    const int at = lower.Find(key);
    if (at < 0)
        return false;
    const int delimiterAt = at + (int)std::strlen(key);
    if (delimiterAt >= value.GetLength())
        return false;
    const char delimiter = value[delimiterAt];
    const int close = value.Find(delimiter, delimiterAt + 1);
    if (close < 0)
        return false;
    text = value.Mid(delimiterAt + 1, close - delimiterAt - 1);
    return true;
}

bool IsHexColour(const CString& text)
{
    if (text.GetLength() != 6)
        return false;
    for (int i = 0; i < 6; ++i)
        if (!std::isxdigit((unsigned char)text[i]))
            return false;
    return true;
}

bool EndsWith(const CString& text, const char* suffix)
{
    const int length = (int)std::strlen(suffix);
    return text.GetLength() >= length && text.Right(length) == suffix;
}
}  // namespace

void CAppCommandLineInfo::SetStyleFileFinder(StyleFileFinder finder)
{
    g_styleFileFinder = finder;
}

CAppCommandLineInfo::StyleFileFinder CAppCommandLineInfo::GetStyleFileFinder()
{
    return g_styleFileFinder;
}

void CAppCommandLineInfo::SetImageSizeReader(ImageSizeReader reader)
{
    g_imageSizeReader = reader;
}

CAppCommandLineInfo::CAppCommandLineInfo()
    : m_editorWindow(nullptr), m_backgroundColour(0xFFFFFF), m_editorKind(0), m_backgroundGiven(0), m_openStyle(0),
      m_folderGiven(0), m_graphicType(11), m_update(0), m_hWndGiven(0), m_thumbnail(0), m_width(0), m_height(0)
{
}

void CAppCommandLineInfo::ParseParam(const char* param, BOOL isSwitch, BOOL isLast)
{
    if (isSwitch) {
        const CString text = param;
        const int colon = text.Find(':');
        if (colon >= 0) {
            const CString key = text.Left(colon);
            const CString value = text.Mid(colon + 1);
            if (key.CompareNoCase("hWnd") == 0) {
                m_editorWindow = (HWND)(UINT_PTR)std::strtoul(value, nullptr, 10);
                m_hWndGiven = 1;
            } else if (key.CompareNoCase("result") == 0) {
                m_resultPath = value;
            } else if (key.CompareNoCase("snippetid") == 0) {
                m_snippetId = value;
            } else if (key.CompareNoCase("gfxtype") == 0) {
                m_graphicType = std::atoi(value);
            } else if (key.CompareNoCase("docpath") == 0) {
                m_docPath = value;
            } else if (key.CompareNoCase("editor") == 0) {
                if (value.CompareNoCase("Quor Barwright FrontPage Add-in") == 0 ||
                    value.CompareNoCase("Quor Bar Wright FrontPage Add-in") == 0)
                    m_editorKind = 1;
                else if (value.CompareNoCase("Quor Barwright Dreamweaver Extension") == 0 ||
                         value.CompareNoCase("Quor Bar Wright Dreamweaver Extension") == 0)
                    m_editorKind = 2;
            } else if (key.CompareNoCase("bgcolour") == 0) {
                ParseBackground(value);
            } else if (key.CompareNoCase("thumbnail") == 0) {
                ParseThumbnail(value);
            }
        } else if (text.CompareNoCase("update") == 0) {
            m_update = 1;
        }
    }
    CCommandLineInfo::ParseParam(param, isSwitch, isLast);
    // The image size stands in for a missing thumbnail size; the file may follow the switch.
    if (isLast)
        FitThumbnailToImage();
}

void CAppCommandLineInfo::ParseBackground(const CString& value)
{
    CString digits = value;
    if (digits.Find('#') >= 0)
        digits.Remove('#');
    else if (digits.CompareNoCase("nocolor") == 0)
        return;
    else if (!IsHexColour(digits))
        digits = LookupColourName(digits);  // a colour name; bare hex digits stand as they are
    const unsigned long rgb = std::strtoul(digits, nullptr, 16);
    const unsigned red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    m_backgroundColour = red + green * 256 + blue * 65536;
    m_backgroundGiven = 1;
}

void CAppCommandLineInfo::ParseThumbnail(const CString& value)
{
    m_thumbnail = 1;
    m_graphicType = 12;
    CString lower = value;
    lower.MakeLower();
    CString text;
    if (ThumbnailPart(value, lower, "title=", text))
        m_title = UnescapeHtml(text);
    if (ThumbnailPart(value, lower, "width=", text))
        m_width = std::atoi(text);
    if (ThumbnailPart(value, lower, "height=", text))
        m_height = std::atoi(text);
}

void CAppCommandLineInfo::FitThumbnailToImage()
{
    if (!m_thumbnail || (m_width >= 1 && m_height >= 1) || !g_imageSizeReader)
        return;
    if (m_strFileName.IsEmpty() || !CFileUtils::FileExists(m_strFileName))
        return;
    int width = 0, height = 0;
    if (g_imageSizeReader(m_strFileName, &width, &height)) {
        m_width = (int)(width * 0.2);
        m_height = (int)(height * 0.2);
    }
}

int CAppCommandLineInfo::Normalise()
{
    if (!m_strFileName.IsEmpty())
        m_strFileName = CFileUtils::URLToPath(m_strFileName);
    if (!m_docPath.IsEmpty())
        m_docPath = CFileUtils::URLToPath(m_docPath);
    if (!m_fileFolder.IsEmpty())
        m_fileFolder = CFileUtils::URLToPath(m_fileFolder);

    if (!m_docPath.IsEmpty()) {
        CString lowerDoc = m_docPath;
        lowerDoc.MakeLower();
        if (CFileUtils::FileExists(m_docPath) || lowerDoc.Find("http:\\\\") >= 0 || lowerDoc.Find("ftp:\\\\") >= 0)
            m_docPath.Empty();
    }

    if (m_strFileName.IsEmpty()) {
        if (!m_docPath.IsEmpty() && m_fileFolder.IsEmpty() && CFileUtils::FolderExists(m_docPath)) {
            m_folderGiven = 1;
            m_fileFolder = m_docPath;
        }
        return 1;
    }

    CString lower = m_strFileName;
    lower.MakeLower();
    if (m_fileFolder.IsEmpty() && CFileUtils::FolderExists(m_strFileName)) {
        m_folderGiven = 1;
        m_fileFolder = m_strFileName;
    } else if (CFileUtils::FileExists(m_strFileName) && EndsWith(lower, ".qtw")) {
        m_openStyle = 1;
    } else {
        CString root = AppUtilServices().GetRootPath();
        root.MakeLower();
        const CString templates = AppUtilServices().GetTemplatesFolder();
        CString candidate;
        // A full path names its file wherever it is; only a bare name is looked up in the
        // template library (joining a full path onto the library's folder finds nothing).
        if ((!root.IsEmpty() && lower.Left(root.GetLength()) == root) || lower.Find("(project)") >= 0 ||
            lower.Find("(theme)") >= 0 || CFileUtils::IsAbsolutePath(lower)) {
            candidate = lower;
        } else {
            candidate = templates + lower;
            if (!CFileUtils::FileExists(candidate))
                candidate.Empty();
        }
        const CString match = !candidate.IsEmpty() && g_styleFileFinder ? g_styleFileFinder(candidate) : CString();
        if (!match.IsEmpty()) {
            m_strFileName = match;
            m_openStyle = 1;
        } else {
            InformWarningWithPath(IDS_STYLE_NOT_FOUND, templates + m_strFileName);
        }
    }

    if (m_openStyle) {
        const int slash = m_strFileName.ReverseFind('\\');
        m_fileTitle = m_strFileName.Mid(slash + 1);
        const int dot = m_fileTitle.ReverseFind('.');
        if (dot >= 0)
            m_fileTitle = m_fileTitle.Left(dot);
        m_fileDir = slash >= 0 ? m_strFileName.Left(slash) : CString();
        m_styleBaseName = m_fileTitle;
        if (m_styleBaseName.Find('_', 1) > 0) {
            for (const char* suffix : {"_off", "_over", "_on", "_clicked"}) {
                if (EndsWith(m_styleBaseName, suffix)) {
                    m_styleBaseName = m_styleBaseName.Left(m_styleBaseName.GetLength() - (int)std::strlen(suffix));
                    break;
                }
            }
        }
    }

    if (!m_folderGiven && !m_openStyle) {
        m_strFileName.Empty();
        return 0;
    }
    return 1;
}

CString CAppCommandLineInfo::GetStyleFilePath() const
{
    if (m_fileDir.IsEmpty() || m_fileTitle.IsEmpty())
        return CString();
    return m_fileDir + "\\" + m_fileTitle + ".qtw";
}

CAppCommandLineInfo::StartupAction CAppCommandLineInfo::GetStartupAction() const
{
    if (m_openStyle)
        return kOpenStyle;
    if (m_graphicType == 12)
        return m_strFileName.IsEmpty() || CFileUtils::FolderExists(m_strFileName) ? kNewPhoto : kOpenImage;
    if (m_graphicType != 11)
        return kNewGraphic;
    return kStartPage;
}
