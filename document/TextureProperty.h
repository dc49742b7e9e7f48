// One texture slot of a template as the option record mirrors it: the picture file, the texts
// the texture panel shows, the fill it is drawn with and the colour entries that recolour it.
#pragma once

#include "framework/core/CString.h"
#include "framework/core/CObject.h"
#include "framework/core/WinTypes.h"

class CTextureProperty : public CObject {
 public:
  CTextureProperty() = default;
  ~CTextureProperty() override = default;

  virtual int CopyFrom(const CTextureProperty& source, bool withIndex);
  virtual void SetFileName(const CString& file) { m_fileName = file; }
  virtual void SetName(const CString& name) { m_name = name; }
  virtual void SetQuestion(const CString& question) { m_question = question; }
  virtual void SetKiqIndex(int index) { m_kiqIndex = index; }
  virtual void SetFillType(const CString& fillType) { m_fillType = fillType; }
  virtual void SetMatrix(const CString& matrix) { m_matrix = matrix; }
  virtual void SetColourA(COLORREF colour) { m_colourA = colour; }
  virtual void SetColourB(COLORREF colour) { m_colourB = colour; }
  virtual void SetColourAIndex(int index) { m_colourAIndex = index; }
  virtual void SetColourBIndex(int index) { m_colourBIndex = index; }
  virtual CString GetFileName() const { return m_fileName; }
  virtual CString GetName() const { return m_name; }
  virtual CString GetQuestion() const { return m_question; }
  virtual int GetKiqIndex() const { return m_kiqIndex; }
  virtual CString GetFillType() const { return m_fillType; }
  virtual CString GetMatrix() const { return m_matrix; }
  virtual COLORREF GetColourA() const { return m_colourA; }
  virtual COLORREF GetColourB() const { return m_colourB; }
  virtual int GetColourAIndex() const { return m_colourAIndex; }
  virtual int GetColourBIndex() const { return m_colourBIndex; }

 private:
  CString m_fileName;  // relative to the program root or absolute, as the style file holds it
  CString m_name;
  CString m_question;
  int m_kiqIndex = 0;
  CString m_fillType = "Bitmap";
  CString m_matrix = " Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0";
  COLORREF m_colourA = 0xFFFFFF;
  COLORREF m_colourB = 0;
  int m_colourAIndex = -1;
  int m_colourBIndex = -1;
};
