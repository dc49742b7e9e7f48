#include "editors/GraphicMenu.h"

#include "util/FileUtils.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ExportRecord.h"
#include "bitmap/GraphicDragOut.h"
#include "document/Options.h"
#include "editors/EditorsResource.h"
#include "editors/MenuServices.h"
#include "panels/PanelServices.h"
#include "framework/core/CTime.h"

#include <cstring>
#include <memory>

namespace {

const int kMenuOffsetX = 4;
const int kMenuOffsetY = 24;

// The current graphic when its template is ready to render; null otherwise.
COptions* ReadyRecord()
{
    COptions* record = GetPanelServices().GetOptions();
    return record && record->GetCapabilityFlag(kCapabilityTemplateLoaded) ? record : nullptr;
}

// The wait cursor while a large graphic is copied.
class WaitWhileCopying {
public:
    explicit WaitWhileCopying(const COptions& record)
        : m_shown((long long)record.GetOutputWidth() * record.GetOutputHeight() > CGraphicMenu::kWaitCursorPixels)
    {
        if (m_shown)
            GetPanelServices().SetCaptureCursor(1, nullptr);
    }
    ~WaitWhileCopying()
    {
        if (m_shown)
            GetPanelServices().ReleaseCaptureCursor(0);
    }

private:
    bool m_shown;
};

struct ClipboardItem {
    UINT format;
    HGLOBAL block;
};

// Puts the blocks on the clipboard in place of what it held; the clipboard owns the ones it
// took, the others are freed. True when every block was taken.
bool PlaceOnClipboard(ClipboardItem* items, int count)
{
    CWnd* main = GetPanelServices().GetMainWindow();
    bool placed = ::OpenClipboard(main ? main->GetSafeHwnd() : nullptr) != 0;
    if (placed) {
        ::EmptyClipboard();
        for (int i = 0; i < count; ++i) {
            if (::SetClipboardData(items[i].format, items[i].block))
                items[i].block = nullptr;
            else
                placed = false;
        }
        ::CloseClipboard();
    }
    for (int i = 0; i < count; ++i)
        if (items[i].block)
            ::GlobalFree(items[i].block);
    return placed;
}

void RecordExportPath(const char* path)
{
    if (COptions* record = GetPanelServices().GetOptions())
        record->SetExportPathNameExt(path);
}

}  // namespace

CString& GetDraggedFilePath()
{
    static CString path;
    return path;
}

HGLOBAL MakeTextGlobal(const char* text)
{
    if (!text)
        return nullptr;
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* bytes = ::GlobalLock(block);
    if (!bytes) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, text, size);
    ::GlobalUnlock(block);
    return block;
}

CGraphicMenu::CGraphicMenu()
{
    m_menu.LoadMenu(IDR_GRAPHIC_MENU);
}

CGraphicMenu::~CGraphicMenu() = default;

void CGraphicMenu::UpdateItems()
{
    CMenu* popup = IsLoaded() ? m_menu.GetSubMenu(0) : nullptr;
    if (!popup)
        return;
    const UINT editable = GetMenuServices().IsEditablePageActive() ? MF_ENABLED : MF_GRAYED;
    popup->EnableMenuItem(kGraphicMenuUndoAllEdits, MF_BYCOMMAND | editable);
    popup->EnableMenuItem(kGraphicMenuCreateStyle, MF_BYCOMMAND | editable);
    // Without any record the copies stay offered (and do nothing); a record still loading its
    // template has nothing to copy yet.
    COptions* record = GetPanelServices().GetOptions();
    const UINT copies = record && !record->GetCapabilityFlag(kCapabilityTemplateLoaded) ? MF_GRAYED : MF_ENABLED;
    popup->EnableMenuItem(kGraphicMenuCopyBitmap, MF_BYCOMMAND | copies);
    popup->EnableMenuItem(kGraphicMenuCopyFileName, MF_BYCOMMAND | copies);
    popup->EnableMenuItem(kGraphicMenuInformation, MF_BYCOMMAND | MF_ENABLED);
}

void CGraphicMenu::Show(int x, int y, int)
{
    CWnd* dialog = GetPanelServices().GetMainWindow();
    if (!dialog || !dialog->GetSafeHwnd() || !IsLoaded())
        return;
    CMenu* popup = m_menu.GetSubMenu(0);
    if (!popup)
        return;
    UpdateItems();
    RECT main;
    dialog->GetWindowRect(&main);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, x + kMenuOffsetX + main.left, y + kMenuOffsetY + main.top,
                          dialog);
}

bool CGraphicMenu::CopyBitmapToClipboard()
{
    COptions* record = ReadyRecord();
    if (!record)
        return false;
    WaitWhileCopying cursor(*record);
    std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, 0));
    HGLOBAL dib = exporter ? exporter->CopyToClipboard() : nullptr;
    if (!dib)
        return false;
    ClipboardItem items[] = {{CF_DIB, dib}};
    return PlaceOnClipboard(items, 1);
}

bool CGraphicMenu::CopyFileNameToClipboard()
{
    COptions* record = ReadyRecord();
    if (!record)
        return false;
    WaitWhileCopying cursor(*record);
    const CString path = GetMenuServices().GetNextExportPath();
    // Only a file that was really written is offered.
    if (path.IsEmpty() || !WriteGraphicFile(GetBitmapServices().GetOptions(), path))
        return false;
    RecordExportPath(path);
    ClipboardItem items[] = {{CF_HDROP, MakeDropFilesBlock(path)}, {CF_TEXT, MakeTextGlobal(path)}};
    if (!items[0].block || !items[1].block) {
        for (ClipboardItem& item : items)
            if (item.block)
                ::GlobalFree(item.block);
        return false;
    }
    return PlaceOnClipboard(items, 2);
}

bool CGraphicMenu::StartDrag(int, int)
{
    CWnd* dialog = GetPanelServices().GetMainWindow();
    COptions* record = GetPanelServices().GetOptions();
    if (!dialog || !dialog->GetSafeHwnd() || !record)
        return false;
    GetDraggedFilePath() = GetMenuServices().GetNextExportPath();
    if (GetDraggedFilePath().IsEmpty())
        return false;
    RECT start;
    dialog->GetWindowRect(&start);
    GraphicDropFile file;
    file.path = GetDraggedFilePath();
    file.setExportPath = RecordExportPath;
    const DWORD effect = DragGraphicOut(dialog->GetSafeHwnd(), start, record->GetCapabilityFlag(kCapabilityTemplateLoaded),
                                        GetBitmapServices().GetOptions(), file);
    if (effect == DROPEFFECT_COPY)
        SaveStyleToProject();
    return true;
}

void CGraphicMenu::SaveStyleToProject()
{
    COptions* record = GetPanelServices().GetOptions();
    if (!record || record->GetExportPathNameExt().IsEmpty())
        return;
    const CString exported = record->GetExportPathNameExt();
    CTime time;
    const bool dated = CFileUtils::GetModifiedTime(exported, time) != FALSE;
    record->SetExportCheckSum(CFileUtils::QuickFileSignature(exported));
    record->SetModified();

    CMenuServices& services = GetMenuServices();
    CString folder = services.MakeProjectFolderPath();
    if (folder.IsEmpty())
        return;
    folder = CFileUtils::WithBackslash(folder);
    const int slash = exported.ReverseFind('\\');
    const CString name = CFileUtils::RemoveExtension(slash >= 0 ? exported.Mid(slash + 1) : exported);
    const CString style = folder + name + ".qtw";
    record->SetTemplateFlag(0);
    const bool styleSaved = record->SaveStyleFile(style);
    record->SetTemplateFlag(1);
    if (styleSaved && dated)
        services.SetFileTimeUnlessThumbnail(style, time);

    const bool photo = record->GetGraphicType() == kGraphicPicture;
    const CString thumbnail = folder + name + (photo ? ".jpg" : ".qgt");
    const int exportType = record->GetExportType();
    if (photo)
        record->SetExportType(kExportJpeg);
    if (record->GetStateCount() > 1)
        record->SelectState(record->GetStateCount() / 2);
    bool thumbnailWritten = false;
    {
        std::unique_ptr<CBitmapExporter> exporter(CreateExporter(nullptr, photo ? 0 : 1));
        thumbnailWritten = exporter && exporter->ExportToFile(thumbnail, 0) == 0;
    }
    record->SetExportType(exportType);
    if (thumbnailWritten && dated)
        services.SetFileTimeUnlessThumbnail(thumbnail, time);
    record->SetModified(false);
}
