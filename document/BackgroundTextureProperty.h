// The texture a record gets for its background when its template has none of its own.
#pragma once

#include "document/TextureProperty.h"

class CBackgroundTextureProperty : public CTextureProperty {
 public:
  CBackgroundTextureProperty();
  ~CBackgroundTextureProperty() override;
};
