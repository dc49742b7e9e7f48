#include "document/TextureProperty.h"

int CTextureProperty::CopyFrom(const CTextureProperty& source, bool withIndex) {
  m_fileName = source.m_fileName;
  m_question = source.m_question;
  m_name = source.m_name;
  m_fillType = source.m_fillType;
  m_matrix = source.m_matrix;
  m_colourA = source.m_colourA;
  m_colourB = source.m_colourB;
  m_colourAIndex = source.m_colourAIndex;
  m_colourBIndex = source.m_colourBIndex;
  if (withIndex) m_kiqIndex = source.m_kiqIndex;
  return 1;
}
