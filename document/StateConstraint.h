// The constraint values of one template state (sizes of the constrained object in pixels at
// scale 1). The option record keeps the same six values for its own state.
#pragma once

#include "framework/core/CObject.h"

class CStateConstraint : public CObject {
 public:
  double m_currentWidth = 0;
  double m_currentHeight = 0;
  double m_lastSetWidth = 0;
  double m_lastSetHeight = 0;
  double m_templateWidth = 0;
  double m_templateHeight = 0;
};
