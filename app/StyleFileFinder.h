// Finds the style file that made an exported picture: style files beside the picture, in the
// project folders below it and in the template library are candidates when they share the
// picture's time or name; the best scored wins.
#pragma once

#include "framework/core/CObject.h"
#include "framework/core/CString.h"

#include <vector>

class CStyleFileFinder : public CObject {
public:
    CStyleFileFinder();

    void FindCandidates(const CString& picturePath);
    // The candidate with the highest score (the first of equals); empty without candidates.
    void GetBestMatch(CString& stylePath);

    int ScoreCandidate(const CString& stylePath);
    void ScanFolder(const CString& folder, const CString& picturePath);
    static bool MatchesNavBarName(const CString& picturePath, const CString& stylePath);

    const std::vector<CString>& GetCandidates() const { return m_candidates; }

    // The best match for a picture path in one call, as the command line uses it.
    static CString FindStyleFor(const CString& picturePath);

private:
    std::vector<CString> m_candidates;
    CString m_picturePath;
    bool m_haveTime;
    DWORD m_signature;
};
