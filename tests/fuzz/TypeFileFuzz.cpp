// The type file ("QTWTypes.twt") of a template folder and of a project folder: the template's
// flags are looked up, and a save adds its graphic or gives its entry a new size.
#include "util/TextFile.h"
#include "output/ProjectTypeFile.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/ReadEntries.h"

BW_FUZZ_TARGET(typefile)
{
    fuzz::WriteTempFile(kTypeFileName, data, size);
    const CString folder(fuzz::ProgramPath(fuzz::TempFolder()).c_str());
    LookupTemplateFlags(folder + "\\button.kiq");
    UpdateProjectTypeFile(folder, "button", 0x4000, PackThumbnailSize(120, 40));
    UpdateProjectTypeFile(folder, "other", 0x100000, PackThumbnailSize(80, 80));
    // The rewritten file must still read.
    CTextFile file;
    if (file.Open(folder + "\\" + kTypeFileName, CFile::modeRead))
        fuzz::ReadAllEntries(file);
}
