#include "app/HelpTipWnd.h"

#include <map>

namespace {

const char kClassName[] = "HelpTipWndClass";
// The tip's text starts this far right of and below the point, and wraps within this width.
const int kOffset = 15;
const int kWidth = 300;
const int kBorder = 2;

struct HelpPair {
    int controlId;
    UINT helpId;
};

// Control id -> help text; a control listed twice takes its later text.
const HelpPair kHelpPairs[] = {
    {1012, 50104}, {1014, 50105}, {1016, 50106}, {1018, 50107}, {1023, 50086}, {1024, 50032}, {1025, 50087},
    {1026, 50033}, {1028, 50114}, {1029, 50092}, {1033, 50096}, {1034, 50088}, {1037, 50089}, {1040, 50090},
    {1042, 50093}, {1048, 50076}, {1080, 50020}, {1081, 50040}, {1084, 50039}, {1087, 50072}, {1089, 50071},
    {1091, 50118}, {1093, 50117}, {1096, 50073}, {1098, 50074}, {1112, 50068}, {1114, 50069}, {1118, 50070},
    {1296, 50030}, {1297, 50029}, {1298, 50029}, {1303, 50034}, {1304, 50035}, {1305, 50036}, {1306, 50067},
    {1307, 50075}, {1311, 50071}, {1314, 50072}, {1320, 50118}, {1322, 50117}, {1327, 50073}, {1328, 50074},
    {1337, 50042}, {1343, 50100}, {1345, 50101}, {1349, 50097}, {1350, 50098}, {1351, 50053}, {1352, 50109},
    {1360, 50147}, {1379, 50108}, {1383, 50091}, {1398, 50037}, {1400, 50038}, {1439, 50058}, {1440, 50059},
    {1441, 50060}, {1443, 50061}, {1445, 50102}, {1446, 50062}, {1449, 50063}, {1451, 50064}, {1452, 50099},
    {1453, 50065}, {1454, 50066}, {1455, 50002}, {1456, 50094}, {1461, 50103}, {1471, 50026}, {1472, 50112},
    {1473, 50027}, {1474, 50028}, {1478, 50113}, {1540, 50003}, {1541, 50095}, {1545, 50022}, {1546, 50005},
    {1547, 50125}, {1548, 50176}, {1549, 50176}, {1551, 50043}, {1552, 50044}, {1553, 50045}, {1557, 50031},
    {1585, 50055}, {1586, 50057}, {1588, 50056}, {1593, 50019}, {1606, 50047}, {1622, 50004}, {1664, 50081},
    {1666, 50139}, {1667, 50140}, {1684, 50009}, {1685, 50010}, {1686, 50011}, {1687, 50012}, {1688, 50013},
    {1689, 50014}, {1692, 50006}, {1699, 50018}, {1713, 50008}, {1714, 50007}, {1718, 50017}, {1719, 50016},
    {1727, 50001}, {1728, 50141}, {1748, 50015}, {1750, 50078}, {1754, 50048}, {1755, 50049}, {1756, 50050},
    {1758, 50051}, {1761, 50052}, {1767, 50082}, {1768, 50085}, {1770, 50161}, {1776, 50079}, {1777, 50021},
    {1787, 50082}, {1789, 50085}, {1791, 50077}, {1792, 50152}, {1793, 50024}, {1794, 50025}, {1810, 50122},
    {1811, 50121}, {1812, 50115}, {1813, 50115}, {1815, 50055}, {1816, 50056}, {1817, 50057}, {1818, 50116},
    {1819, 50053}, {1820, 50054}, {1821, 50048}, {1822, 50049}, {1823, 50050}, {1824, 50051}, {1825, 50119},
    {1826, 50120}, {1827, 50116}, {1837, 50123}, {1838, 50124}, {1855, 50128}, {1856, 50129}, {1857, 50132},
    {1858, 50132}, {1859, 50131}, {1860, 50131}, {1864, 50164}, {1871, 50131}, {1872, 50138}, {1877, 50130},
    {1878, 50133}, {1879, 50133}, {1880, 50130}, {1881, 50136}, {1882, 50135}, {1887, 50078}, {1895, 50142},
    {1896, 50146}, {1897, 50145}, {1898, 50143}, {1899, 50144}, {1900, 50160}, {1906, 50148}, {1907, 50150},
    {1908, 50149}, {1909, 50151}, {1921, 50157}, {1922, 50158}, {1923, 50162}, {1925, 50163}, {1926, 50181},
    {1927, 50181}, {1928, 50165}, {1929, 50167}, {1933, 50166}, {1937, 50156}, {1939, 50153}, {1947, 50171},
    {1951, 50168}, {1952, 50169}, {1953, 50170}, {1954, 50171}, {1955, 50173}, {1959, 50175}, {1960, 50174},
    {1972, 50178}, {1973, 50174}, {1974, 50159}, {1977, 50154}, {1978, 50155}, {1991, 50138}, {1992, 50138},
    {1993, 50137}, {1996, 50184}, {1998, 50184}, {1999, 50183}, {2001, 50183}, {2002, 50182}, {32938, 50054},
    {32941, 50046},
};

const std::map<int, UINT>& HelpTable()
{
    static const std::map<int, UINT> table = [] {
        std::map<int, UINT> built;
        for (const HelpPair& pair : kHelpPairs)
            built[pair.controlId] = pair.helpId;
        return built;
    }();
    return table;
}

const char* RegisterTipClass()
{
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kClassName, &wc)) {
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_INFOBK + 1);
        wc.lpszClassName = kClassName;
        ::RegisterClassA(&wc);
    }
    return kClassName;
}

}  // namespace

UINT GetHelpContext(int controlId)
{
    const std::map<int, UINT>& table = HelpTable();
    const auto found = table.find(controlId);
    return found == table.end() ? 0 : found->second;
}

BEGIN_MESSAGE_MAP(CHelpTipWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ACTIVATE()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CHelpTipWnd::CHelpTipWnd() : m_point{0, 0}, m_textRect{0, 0, 0, 0} {}

CHelpTipWnd::~CHelpTipWnd()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL CHelpTipWnd::Create()
{
    return CreateEx(WS_EX_TOOLWINDOW, RegisterTipClass(), "", WS_POPUP | WS_BORDER, 10, 200, 300, 400, nullptr,
                    nullptr);
}

void CHelpTipWnd::ShowTip(const CString& text, int x, int y)
{
    m_text = text;
    m_point = {x, y};
    m_textRect = {x + kOffset, y + kOffset, x + kWidth, y + kOffset};
    if (!m_hWnd)
        return;
    // The height follows from the text wrapped to the tip's width.
    HDC dc = ::GetDC(m_hWnd);
    const HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(dc, m_text, m_text.GetLength(), &m_textRect, DT_CALCRECT | DT_WORDBREAK);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    const int width = m_textRect.right - m_textRect.left;
    const int height = m_textRect.bottom - m_textRect.top;
    SetWindowPos(HWND_TOPMOST, m_textRect.left - kBorder, m_textRect.top - kBorder, width + 2 * kBorder,
                 height + 2 * kBorder, SWP_SHOWWINDOW);
    ::ScreenToClient(m_hWnd, (POINT*)&m_textRect.left);
    ::ScreenToClient(m_hWnd, (POINT*)&m_textRect.right);
    Invalidate();
}

void CHelpTipWnd::OnPaint()
{
    CPaintDC dc(this);
    const HDC hdc = dc.GetSafeHdc();
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(hdc, RGB(0, 0, 0));
    const HGDIOBJ oldFont = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rect = m_textRect;
    ::DrawTextA(hdc, m_text, m_text.GetLength(), &rect, DT_WORDBREAK);
    ::SelectObject(hdc, oldFont);
    ::SetTextColor(hdc, oldColour);
    ::SetBkMode(hdc, oldMode);
}

void CHelpTipWnd::OnActivate(UINT state, CWnd*, BOOL)
{
    // A click elsewhere ends the tip.
    if (state == WA_INACTIVE)
        ShowWindow(SW_HIDE);
}
