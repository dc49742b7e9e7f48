#include "document/BackgroundTextureProperty.h"

#include "document/OptionsStrings.h"

CBackgroundTextureProperty::CBackgroundTextureProperty() {
  SetFileName(CString());
  SetName(kBackgroundName);
  SetQuestion(kBackgroundName);
  SetKiqIndex(0);
  SetFillType("Flat");
}

CBackgroundTextureProperty::~CBackgroundTextureProperty() = default;
