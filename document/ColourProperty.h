// One colour slot of a template as the option record mirrors it: the chosen value, the
// texts the colour panel shows and the engine slot the value is written back to.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

// Kinds kept above bit 0 of the show word.
enum ColourKind {
  kColourKindOrdinary = 0,
  kColourKindBackground = 1,  // always entry 0 of a record's list
  kColourKindTexture = 2,     // recolours a texture
  kColourKindDuotoneDark = 6,
  kColourKindDuotoneLight = 7,
  kColourKindTint = 8,
};

class CColourProperty : public CObject {
 public:
  CColourProperty() = default;
  ~CColourProperty() override = default;

  virtual int CopyFrom(const CColourProperty& source, bool withIndex);
  virtual void SetValue(COLORREF value) { m_value = value; }
  virtual void SetName(const CString& name) { m_name = name; }
  virtual void SetQuestion(const CString& question) { m_question = question; }
  virtual void SetKiqIndex(int index) { m_kiqIndex = index; }
  virtual void SetShown(int on) { m_showWord = (on & 1) | (m_showWord & ~1); }
  virtual void SetShowWord(int word) { m_showWord = word; }
  virtual void SetStyleName(const CString& name) { m_styleName = name; }
  virtual void SetKind(int kind) { m_showWord = kind * 2 + (m_showWord & 1); }
  virtual COLORREF GetValue() const { return m_value; }
  virtual CString GetName() const { return m_name; }
  virtual CString GetQuestion() const { return m_question; }
  virtual CString GetStyleName() const { return m_styleName; }
  virtual int GetKiqIndex() const { return m_kiqIndex; }
  virtual int IsShown() const { return m_showWord & 1; }
  virtual int GetShowWord() const { return m_showWord; }
  virtual int GetKind() const { return m_showWord >> 1; }

 private:
  COLORREF m_value = 0;
  CString m_name;
  CString m_question;
  CString m_styleName;
  int m_kiqIndex = 0;  // -1 when the colour drives no slot
  int m_showWord = 1;  // bit 0: the name is shown; bits 1 and up: ColourKind
};
