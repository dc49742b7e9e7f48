#include "document/ColourProperty.h"

int CColourProperty::CopyFrom(const CColourProperty& source, bool withIndex) {
  m_value = source.m_value;
  m_question = source.m_question;
  m_name = source.m_name;
  m_showWord = source.m_showWord;
  m_styleName = source.m_styleName;
  // The slot index belongs to the template the entry was read from; callers that copy
  // between records of different templates keep their own.
  if (withIndex) m_kiqIndex = source.m_kiqIndex;
  return 1;
}
