#include "app/StyleFileFinder.h"

#include "app/AppServices.h"
#include "app/util/FileUtils.h"
#include "app/util/TextFile.h"
#include "navbar/NavBar.h"

namespace {
CString FileNameOf(const CString& path)
{
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString WithoutExtension(const CString& name)
{
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}
}  // namespace

CStyleFileFinder::CStyleFileFinder() : m_haveTime(false), m_signature(0) {}

void CStyleFileFinder::FindCandidates(const CString& picturePath)
{
    CString path = picturePath;
    if (!CFileUtils::IsAbsolutePath(path))
        path = GetTemplatesFolder(true, true, false) + path;
    m_candidates.clear();
    m_haveTime = false;
    m_signature = 0;
    m_picturePath = path;
    ScanFolder(path.Left(path.ReverseFind('\\')), path);
    CString templates = GetTemplatesFolder(false, true, false);
    ScanFolder(templates, path);
}

void CStyleFileFinder::ScanFolder(const CString& folder, const CString& picturePath)
{
    if (folder.IsEmpty())
        return;
    CFileFinder finder;
    finder.Start(folder + "\\*.*");
    CString name;
    BOOL isFolder = FALSE;
    while (finder.Next(name, isFolder)) {
        if (name == "." || name == "..")
            continue;
        const CString path = folder + "\\" + name;
        if (isFolder) {
            // Only the projects below a folder may hold the picture's style.
            if (CFileUtils::IsProjectFolder(path))
                ScanFolder(path, picturePath);
            continue;
        }
        CString lower = name;
        lower.MakeLower();
        const int dot = lower.ReverseFind('.');
        if (dot < 0 || lower.Mid(dot + 1) != "qtw")
            continue;
        if (CFileUtils::SameModifiedTime(path, picturePath) || CFileUtils::IsSameBaseName(picturePath, path) ||
            MatchesNavBarName(picturePath, path))
            m_candidates.push_back(path);
    }
}

bool CStyleFileFinder::MatchesNavBarName(const CString& picturePath, const CString& stylePath)
{
    CString picture = CFileUtils::RemoveTrailingDigits(GetNavBarBaseName(FileNameOf(picturePath)));
    if (picture.IsEmpty())
        return false;
    const CString styleName = FileNameOf(stylePath);
    CString style = StripNavBarSuffix(styleName);
    if (style.IsEmpty())
        style = WithoutExtension(styleName);
    style = CFileUtils::RemoveTrailingDigits(style);
    return picture.CompareNoCase(style) == 0;
}

int CStyleFileFinder::ScoreCandidate(const CString& stylePath)
{
    CTime styleTime;
    if (!CFileUtils::GetModifiedTime(stylePath, styleTime))
        return 0;
    int score = 0;
    if (m_haveTime && CFileUtils::SameModifiedTime(stylePath, m_picturePath))
        score += 5;
    CTextFile file;
    if (m_signature && file.Open(stylePath, CFile::modeRead)) {
        const DWORD checkSum = (DWORD)file.ReadExportCheckSum();
        file.Close();
        if (checkSum && checkSum == m_signature)
            score += 4;
    }
    if (CFileUtils::IsSameBaseName(stylePath, m_picturePath) || MatchesNavBarName(m_picturePath, stylePath))
        score += 3;
    return score;
}

void CStyleFileFinder::GetBestMatch(CString& stylePath)
{
    stylePath.Empty();
    CTime pictureTime;
    m_haveTime = CFileUtils::GetModifiedTime(m_picturePath, pictureTime) != FALSE;
    m_signature = CFileUtils::QuickFileSignature(m_picturePath);
    int best = -1;
    for (const CString& candidate : m_candidates) {
        const int score = ScoreCandidate(candidate);
        if (score > best) {
            best = score;
            stylePath = candidate;
        }
    }
}

CString CStyleFileFinder::FindStyleFor(const CString& picturePath)
{
    CStyleFileFinder finder;
    finder.FindCandidates(picturePath);
    CString match;
    finder.GetBestMatch(match);
    return match;
}
