#include "gallery/StyleFileFinder.h"

#include "util/AppUtilServices.h"
#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "util/TextFile.h"
#include "framework/core/CFile.h"
#include "navbar/NavBar.h"

#include <cstdlib>

namespace {

const char kStyleExtension[] = "qtw";

CString TemplatesFolder()
{
    return CFileUtils::WithBackslash(AppUtilServices().GetTemplatesFolder());
}

// The checksum of the image a style file recorded when it was exported; 0 when none.
unsigned long ReadExportChecksum(const CString& stylePath)
{
    CString path = stylePath;
#ifndef _WIN32
    // The portable build's file classes take the file system's own separators.
    path.Replace('\\', '/');
#endif
    CTextFile file;
    try {
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
            return 0;
    } catch (...) {
        return 0;
    }
    const CString value = file.ReadKeyValue("ExportCheckSum");
    file.Close();
    return std::strtoul(value, nullptr, 10);
}

}  // namespace

CStyleFileFinder::CStyleFileFinder() : m_pictureSignature(0) {}

void CStyleFileFinder::FindCandidates(const CString& picturePath)
{
    CString path = picturePath;
    if (!CFileUtils::IsAbsolutePath(path))
        path = TemplatesFolder() + path;
    m_candidates.RemoveAll();
    m_pictureTime = CTime();
    m_pictureSignature = 0;
    m_picturePath = path;
    ScanFolder(CFileUtils::GetParentFolder(path), path);
    const CString templates = TemplatesFolder();
    if (templates.GetLength() > 1)
        ScanFolder(templates.Left(templates.GetLength() - 1), path);
}

void CStyleFileFinder::ScanFolder(const CString& folder, const CString& picturePath)
{
    if (folder.IsEmpty())
        return;
    FileSystem::Finder finder;
    CString name;
    FileSystem::Status status;
    for (bool more = finder.First(folder + "\\*.*", name, status); more; more = finder.Next(name, status)) {
        if (name == "." || name == "..")
            continue;
        const CString entry = folder + "\\" + name;
        if (status.folder) {
            if (CFileUtils::IsProjectFolder(entry))
                ScanFolder(entry, picturePath);
            continue;
        }
        if (CFileUtils::GetExtension(entry) != kStyleExtension)
            continue;
        // The image's own folder and the templates folder may be one: a file counts once.
        bool known = false;
        for (int i = 0; i < m_candidates.GetSize() && !known; ++i)
            known = m_candidates[i].CompareNoCase(entry) == 0;
        if (!known && (CFileUtils::SameModifiedTime(entry, picturePath) || CFileUtils::IsSameBaseName(entry, picturePath) ||
                       MatchesNavBarName(picturePath, entry)))
            m_candidates.Add(entry);
    }
}

bool CStyleFileFinder::MatchesNavBarName(const CString& picturePath, const CString& stylePath)
{
    const CString bar = CFileUtils::RemoveTrailingDigits(GetNavBarBaseName(CFileUtils::GetFileName(picturePath)));
    const CString style = CFileUtils::RemoveTrailingDigits(StripNavBarSuffix(CFileUtils::GetFileName(stylePath)));
    return !bar.IsEmpty() && bar.CompareNoCase(style) == 0;
}

int CStyleFileFinder::ScoreCandidate(const CString& stylePath)
{
    CTime styleTime;
    if (!CFileUtils::GetModifiedTime(stylePath, styleTime))
        return 0;
    int score = 0;
    if (m_pictureTime.GetTime() != 0 && styleTime == m_pictureTime)
        score += kScoreTime;
    const unsigned long checksum = ReadExportChecksum(stylePath);
    if (checksum != 0 && checksum == m_pictureSignature)
        score += kScoreChecksum;
    if (CFileUtils::IsSameBaseName(stylePath, m_picturePath) || MatchesNavBarName(m_picturePath, stylePath))
        score += kScoreName;
    return score;
}

void CStyleFileFinder::GetBestMatch(CString& stylePath)
{
    stylePath.Empty();
    if (!CFileUtils::GetModifiedTime(m_picturePath, m_pictureTime))
        m_pictureTime = CTime();
    m_pictureSignature = CFileUtils::QuickFileSignature(m_picturePath);
    int best = -1;
    for (int i = 0; i < m_candidates.GetSize(); ++i) {
        const int score = ScoreCandidate(m_candidates[i]);
        if (score > best) {
            best = score;
            stylePath = m_candidates[i];
        }
    }
}

CString FindStyleFileFor(const CString& picturePath)
{
    CStyleFileFinder finder;
    finder.FindCandidates(picturePath);
    CString match;
    finder.GetBestMatch(match);
    return match;
}
