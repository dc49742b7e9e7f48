// The template medium: the product's disc, from which the galleries can read the template
// library as well as from the templates folder under the root path.
#pragma once

#include "framework/core/Afx.h"

// The machine's drives as the search sees them; tests stand a folder in for a disc.
class CTemplateMediumDrives {
public:
    virtual ~CTemplateMediumDrives() = default;
    // GetDriveType of "X:\".
    virtual UINT GetDriveType(char letter);
    // The volume label; false when it cannot be read.
    virtual bool GetVolumeLabel(char letter, CString& label);
    // The folder the drive's content is listed from: "X:" (no trailing backslash).
    virtual CString GetRoot(char letter);
};

// The product folder on the first CD-ROM drive (A: to X:) whose volume label names the
// product and that holds a product folder with a "twtemplates" folder; empty when none.
CString FindTemplateMedium();
CString FindTemplateMedium(CTemplateMediumDrives& drives);
// The product folder on one drive or folder (given without a trailing backslash): the first
// folder whose full path names the product and that holds a "twtemplates" folder.
CString FindProductFolder(const CString& drive);

// Whether start-up offers to copy the template library from the medium: the Startup value
// "CopyTemplatesFromCD" asks for it, and the medium's product folder is this edition's
// ("barwright 1" or "barwright1" in its path) and holds the templates folder.
bool ShouldOfferTemplateCopy(unsigned long copyValue, const CString& mediumPath);

// The template copy dialog of the galleries, run modally; installed by them. Without one the
// offer shows nothing.
typedef void (*TemplateCopyDialogRunner)();
void SetTemplateCopyDialogRunner(TemplateCopyDialogRunner runner);

// The start-up offer for a medium path: reads "CopyTemplatesFromCD" and runs the template copy
// dialog when the offer applies.
void CopyTemplatesFromMedium(const CString& mediumPath);
