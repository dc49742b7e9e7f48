#include "navbar/PreviewInfoSection.h"

#include "bitmap/BitmapExporter.h"

CString Indent(int n, const CString& text) {
  return CString(' ', n) + text + "\r\n";
}

CString PreviewString(unsigned id, const char* text) {
  CString loaded;
  if (CString::GetStringLoader() && loaded.LoadString(id) && !loaded.IsEmpty()) return loaded;
  return text;
}

CString CPreviewInfoSection::Write(int m) const {
  return Indent(m, "<table class=\"infotablecontainer\" width=\"100%\" height=\"100%\">") + Indent(m + 1, "<tr>") +
         Indent(m + 2, "<td valign=\"top\">") + Indent(m + 3, "<h2>" + GetTitle() + "</h2>") + Indent(m + 3, "<hr />") +
         Indent(m + 3, "<table width=\"100%\">") + WriteBody(m + 4) + Indent(m + 3, "</table>") +
         Indent(m + 2, "</td>") + Indent(m + 1, "</tr>") + Indent(m, "</table>");
}

CString CPreviewInfoSection::Row(int r, const CString& label, const CString& value) {
  return Indent(r, "<tr>") + Indent(r + 1, "<td valign=\"top\"><font class=\"itemtitle\">" + label + "</font></td>") +
         Indent(r + 1, "<td valign=\"top\"><font class=\"itemvalue\">" + value + "</font></td>") + Indent(r, "</tr>");
}

CFileInfoSection::CFileInfoSection(const PreviewInfo& info, const CString& title)
    : CPreviewInfoSection(title.IsEmpty() ? PreviewString(33247, "File information") : title), m_info(info) {}

namespace {

CString Pixels(int count) {
  CString text;
  text.Format(count == 1 ? PreviewString(33212, "%d pixel").GetString() : PreviewString(33213, "%d pixels").GetString(),
              count);
  return text;
}

}  // namespace

CString CFileInfoSection::WriteBody(int indent) const {
  CString size;
  FormatFileSize(static_cast<std::uint64_t>(m_info.fileSize < 0 ? 0 : m_info.fileSize), &size, false);
  CString quality;
  if (m_info.quality != -1) quality.Format("%d%%", m_info.quality);
  const struct {
    unsigned id;
    const char* label;
    CString value;
  } rows[] = {
      {33255, "File size", size},
      {33256, "Type", m_info.type},
      {33257, "Transparency", m_info.transparency},
      {33258, "Color depth", m_info.colourDepth},
      {33259, "Palette", m_info.palette},
      {33260, "Width", Pixels(m_info.width)},
      {33261, "Height", Pixels(m_info.height)},
      {33262, "Dithering", m_info.dithering},
      {33263, "Quality", quality},
  };
  CString text;
  for (const auto& row : rows)
    if (!row.value.IsEmpty()) text += Row(indent, PreviewString(row.id, row.label), row.value);
  return text;
}

CDownloadTimesSection::CDownloadTimesSection(std::int32_t fileSize, const CString& title)
    : CPreviewInfoSection(title.IsEmpty() ? PreviewString(33248, "Best download times") : title),
      m_fileSize(fileSize) {}

CString CDownloadTimesSection::WriteBody(int indent) const {
  const struct {
    int speed;
    unsigned id;
    const char* label;
  } rows[] = {{33, 33249, "33K/s modem"},        {56, 33250, "56K/s modem"}, {64, 33251, "ISDN (64K/s)"},
              {128, 33252, "Dual ISDN (128K/s)"}, {256, 33253, "256K/s DSL"}, {512, 33254, "512K/s DSL"}};
  CString text;
  for (const auto& row : rows) {
    // Kilobits of 1024 bits, at 80 % of the nominal speed.
    const double seconds = static_cast<double>(m_fileSize) * 8.0 / (row.speed * 819.2);
    CString value;
    if (seconds < 1.0)
      value = PreviewString(33241, "Less than a second");
    else
      value.Format(PreviewString(33242, "%.1f seconds").GetString(), seconds);
    text += Row(indent, PreviewString(row.id, row.label), value);
  }
  return text;
}
