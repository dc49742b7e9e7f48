#include "bitmap/ExportRecord.h"

ExportTransparencyOverride::ExportTransparencyOverride(ExportRecord* record) : m_record(record) {
  if (!m_record) return;
  m_saved = m_record->GetTransparent();
  const int type = m_record->GetExportType(), bpp = m_record->GetExportBpp();
  int forced = m_saved;
  if (type == kExportJpeg || (type == kExportPng && bpp == 24)) forced = 0;
  if (type == kExportPng && bpp == 32) forced = 1;
  if (forced != m_saved) m_record->SetTransparent(forced);
}

ExportTransparencyOverride::~ExportTransparencyOverride() {
  if (m_record && m_record->GetTransparent() != m_saved) m_record->SetTransparent(m_saved);
}
