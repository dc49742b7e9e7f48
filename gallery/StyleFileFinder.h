// Finds the style file that made an exported image or page.
//
// An image exported by the program lies beside its style file (a project folder keeps both) or
// was made from a template of the library. The candidates are the style files of the image's
// folder and of the templates folder (and of the project folders under them) that share the
// image's modification time or its name; the best scores highest on the time, on the checksum
// the style file recorded at export ("ExportCheckSum") and on the name.
//
// Usage: FindCandidates(image), then GetBestMatch(out path); the path is empty when nothing
// qualifies.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/CStringArray.h"
#include "framework/core/CTime.h"

class CStyleFileFinder : public CObject {
public:
    CStyleFileFinder();

    void FindCandidates(const CString& picturePath);
    void GetBestMatch(CString& stylePath);
    int ScoreCandidate(const CString& stylePath);
    void ScanFolder(const CString& folder, const CString& picturePath);
    // The image's bar name ("Home_b2_over.gif" gives "Home") and the style file's name without
    // its state suffix ("Home_over.qtw" gives "Home") are the same bar.
    static bool MatchesNavBarName(const CString& picturePath, const CString& stylePath);

    const CStringArray& GetCandidates() const { return m_candidates; }

    // Scores of a candidate: same modification time, same export checksum, same name.
    enum { kScoreTime = 5, kScoreChecksum = 4, kScoreName = 3 };

private:
    CStringArray m_candidates;
    CString m_picturePath;
    CTime m_pictureTime;
    unsigned long m_pictureSignature;
};

// The best style file for an image, or empty (the finder in one call).
CString FindStyleFileFor(const CString& picturePath);
