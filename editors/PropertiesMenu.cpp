#include "editors/PropertiesMenu.h"

#include "util/AppUtilServices.h"
#include "document/Options.h"
#include "editors/EditorsResource.h"
#include "panels/PanelServices.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Each key of a panel kind is listed at most this often.
const int kMaxEntriesPerKey = 3;
// A text longer than this is shown cut.
const int kLongText = 12;
const int kCutText = 9;
// Nudges are stored in 1/750 pixel.
const int kNudgeScale = 750;
// Colour and texture entries stand for properties 0, 1, 2...: at most three textures.
const int kTextureSlots = 3;

bool IsOneOf(const CString& name, const char* first, const char* second)
{
    return name == first || name == second;
}

// One line of the file without its line end; false at the end of the file.
bool ReadLine(FILE* file, CString& line)
{
    line.Empty();
    char buffer[512];
    bool any = false;
    while (std::fgets(buffer, sizeof buffer, file)) {
        any = true;
        line += buffer;
        if (!line.IsEmpty() && line[line.GetLength() - 1] == '\n')
            break;
    }
    line.TrimRight("\r\n");
    return any;
}

// Splits "key : value": the key is everything before the first ':' (with its trailing blank),
// the rest follows the ':'. False for a line without one.
bool SplitLine(const CString& line, CString& key, CString& rest)
{
    const int colon = line.Find(':');
    if (colon < 0)
        return false;
    key = line.Left(colon);
    rest = line.Mid(colon + 1);
    return true;
}

CString ColourText(const CString& question, long value)
{
    CString text;
    text.Format("%s (%d, %d, %d)", (const char*)question, (int)(value & 0xFF), (int)((value >> 8) & 0xFF),
                (int)((value >> 16) & 0xFF));
    return text;
}

CString Labelled(UINT label, const char* fallback, const CString& value)
{
    return LoadAppString(label, fallback) + " (" + value + ")";
}

// The name of a texture file: between the last '\' and the last '.'.
CString TextureName(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    CString name = path.Mid(slash + 1);
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

}  // namespace

CPropertiesMenu::CPropertiesMenu() = default;

CPropertiesMenu::~CPropertiesMenu() = default;

int CPropertiesMenu::AddEntry(const CString& text, int kind)
{
    const int index = (int)m_texts.size();
    m_texts.push_back(text);
    m_kinds.push_back(kind);
    if (m_menu.GetSafeHmenu()) {
        if (text.IsEmpty())
            m_menu.AppendMenu(MF_SEPARATOR, kFirstPropertyCommand + index);
        else
            m_menu.AppendMenu(MF_STRING, kFirstPropertyCommand + index, text);
    }
    return index;
}

int CPropertiesMenu::GetEntryKind(UINT id) const
{
    if (id < kFirstPropertyCommand || id - kFirstPropertyCommand >= m_kinds.size())
        return 0;
    return m_kinds[id - kFirstPropertyCommand];
}

void CPropertiesMenu::DisableFromEntry2()
{
    for (int i = 2; i < (int)m_texts.size(); ++i)
        m_menu.EnableMenuItem(i, MF_BYPOSITION | MF_GRAYED);
}

void CPropertiesMenu::Build(const CString& panelClass)
{
    m_panelClass = panelClass;
    m_menu.DestroyMenu();
    m_texts.clear();
    m_kinds.clear();
    m_menu.CreatePopupMenu();

    AddEntry(LoadAppString(IDS_PROP_CREATE_STYLE, "C&reate Style"), kPropertyCreateStyle);
    AddEntry(CString(), kPropertyCreateStyle);
    if (m_styleFile.IsEmpty()) {
        AddEntry(LoadAppString(IDS_PROP_NO_STYLE, "No Style Selected!"), kPropertyNoStyle);
        DisableFromEntry2();
        return;
    }
    AddEntry(LoadAppString(IDS_PROP_CURRENT_STYLE, "Current Style :- "), kPropertyCurrentStyle);
    FILE* file = std::fopen(m_styleFile, "r");
    if (!file)
        return;
    if (IsOneOf(panelClass, "CSCEditor", "CHSVColourDlg"))
        AddColourEntries(file);
    else if (panelClass == "CTextureDlg")
        AddTextureEntries(file);
    else if (IsOneOf(panelClass, "CSizeDlg", "CTemplateSizeDlg"))
        AddSizeEntries(file);
    else if (IsOneOf(panelClass, "CTextDlg", "CTextDlgAdvanced"))
        AddTextEntries(file, panelClass == "CTextDlgAdvanced");
    std::fclose(file);
}

void CPropertiesMenu::AddColourEntries(FILE* file)
{
    CString line, key, rest, question, value, shadow;
    bool haveQuestion = false, haveValue = false;
    long shadowOn = 0;
    while (ReadLine(file, line)) {
        if (!SplitLine(line, key, rest))
            continue;
        rest.TrimLeft();
        if (key == "ColProp-Question ") {
            question = rest;
            haveQuestion = true;
        } else if (key == "ColProp-Value ") {
            value = rest;
            haveValue = true;
        } else if (key == "ShadowColour ") {
            shadow = rest;
        } else if (key == "ShadowOn ") {
            shadowOn = std::atol(rest);
        }
        if (haveQuestion && haveValue) {
            AddEntry(ColourText(question, std::atol(value)), kPropertyColour);
            haveQuestion = haveValue = false;
        }
    }
    COptions* record = GetPanelServices().GetOptions();
    const bool photo = record && record->GetGraphicType() == kGraphicPicture;
    if (shadowOn != 0 && !shadow.IsEmpty() && !photo)
        AddEntry(ColourText(LoadAppString(IDS_PROP_SHADOW, "Shadow"), std::atol(shadow)), kPropertyShadowColour);
}

void CPropertiesMenu::AddTextureEntries(FILE* file)
{
    CString questions[kTextureSlots], names[kTextureSlots];
    int questionCount = 0, nameCount = 0;
    CString line, key, rest;
    while (ReadLine(file, line)) {
        if (!SplitLine(line, key, rest))
            continue;
        rest.TrimLeft();
        rest.TrimRight();
        if (key == "TextureProp-Question " && questionCount < kTextureSlots)
            questions[questionCount++] = rest;
        else if (key == "TextureProp-FileName " && nameCount < kTextureSlots)
            names[nameCount++] = rest;
    }
    bool any = false;
    for (int i = 0; i < kTextureSlots; ++i) {
        if (names[i].IsEmpty())
            continue;
        AddEntry(questions[i] + " (" + TextureName(names[i]) + ")", kPropertyTexture1 + i);
        any = true;
    }
    if (!any) {
        AddEntry(LoadAppString(IDS_PROP_NO_TEXTURES, "No Textures Available"), kPropertyNone);
        DisableFromEntry2();
    }
}

void CPropertiesMenu::AddSizeEntries(FILE* file)
{
    CString line, key, rest;
    while (ReadLine(file, line)) {
        if (!SplitLine(line, key, rest))
            continue;
        rest.TrimLeft();
        if (key == "PixelWidth ")
            AddEntry(Labelled(IDS_PROP_WIDTH, "Width", rest), kPropertyWidth);
        else if (key == "PixelHeight ")
            AddEntry(Labelled(IDS_PROP_HEIGHT, "Height", rest), kPropertyHeight);
    }
}

void CPropertiesMenu::AddTextEntries(FILE* file, bool advanced)
{
    CString line, key, rest;
    // The point size depends on the graphic type and scale the style stores.
    int graphicType = 0;
    double scale = 1.0;
    bool typeSeen = false, scaleSeen = false;
    while (!(typeSeen && scaleSeen) && ReadLine(file, line)) {
        if (!SplitLine(line, key, rest))
            continue;
        if (key == "GraphicType ") {
            graphicType = std::atoi(rest);
            typeSeen = true;
        } else if (key == "Scale ") {
            scale = std::atof(rest);
            scaleSeen = true;
        }
    }
    std::rewind(file);

    CPanelServices& services = GetPanelServices();
    const bool navBarMode = services.IsNavBarMode();
    struct Listed {
        const char* key;
        int kind;
        int count;
    } listed[] = {{"Font ", kPropertyFont, 0},
                  {"Text ", kPropertyText, 0},
                  {"FontSizeOriginal ", kPropertyPointSize, 0},
                  {"LetterSpace ", kPropertyLetterSpace, 0},
                  {"TextAspectRatio ", kPropertyAspect, 0},
                  {"TextNudgeX ", kPropertyNudgeX, 0},
                  {"TextNudgeY ", kPropertyNudgeY, 0}};
    const int listedKeys = advanced ? 7 : 3;
    while (ReadLine(file, line)) {
        if (!SplitLine(line, key, rest))
            continue;
        // The value follows ": ".
        if (!rest.IsEmpty() && rest[0] == ' ')
            rest = rest.Mid(1);
        Listed* entry = nullptr;
        for (int i = 0; i < listedKeys && !entry; ++i)
            if (key == listed[i].key)
                entry = &listed[i];
        if (!entry || entry->count >= kMaxEntriesPerKey)
            continue;
        CString text;
        switch (entry->kind) {
        case kPropertyFont:
            text = Labelled(IDS_PROP_FONT, "Font", rest);
            break;
        case kPropertyText:
            if (navBarMode)
                continue;
            text = Labelled(IDS_PROP_TEXT, "Text", rest.GetLength() > kLongText ? rest.Left(kCutText) + "..." : rest);
            break;
        case kPropertyPointSize: {
            double points;
            if (graphicType == kGraphic3DHeading && typeSeen && scaleSeen)
                points = scale * 48;
            else
                points = std::atoi(rest) * (scaleSeen && scale != 0 ? scale : 1.0) * 0.001;
            text.Format("%s (%4.2lf)", (const char*)LoadAppString(IDS_PROP_POINT_SIZE, "Size in points"), points);
            break;
        }
        case kPropertyLetterSpace:
            text = Labelled(IDS_PROP_LETTER_SPACE, "Letter space", rest);
            break;
        case kPropertyAspect:
            text = Labelled(IDS_PROP_ASPECT, "Aspect", rest);
            break;
        default: {
            CString nudge;
            nudge.Format("%d", std::atoi(rest) / kNudgeScale);
            text = entry->kind == kPropertyNudgeX ? Labelled(IDS_PROP_NUDGE_X, "Horizontal position", nudge)
                                                  : Labelled(IDS_PROP_NUDGE_Y, "Vertical position", nudge);
            break;
        }
        }
        ++entry->count;
        AddEntry(text, entry->kind);
    }
    COptions* record = services.GetOptions();
    if (record && !record->GetCapabilityFlag(kCapabilityText))
        DisableFromEntry2();
}

bool CPropertiesMenu::Show(int x, int y, CWnd* panel)
{
    if (!panel || !panel->GetSafeHwnd())
        return false;
    Build(panel->GetRuntimeClass()->m_lpszClassName);
    const int entries = (int)m_texts.size();
    const int top = y - entries * (::GetSystemMetrics(SM_CYMENUCHECK) + 5) - 7;
    const UINT chosen = (UINT)::TrackPopupMenu(m_menu.GetSafeHmenu(), TPM_RIGHTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD |
                                                   TPM_NONOTIFY, x, top, 0, panel->GetSafeHwnd(), nullptr);
    if (!chosen)
        return false;
    panel->SendMessage(WM_COMMAND, chosen, 0);
    return true;
}
