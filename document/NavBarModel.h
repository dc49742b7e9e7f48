// The part of the navigation bar model that the operations manager drives. The navigation bar
// module implements it; the manager owns one instance (made through the operations services).
#pragma once

class CNavBarModel {
 public:
  virtual ~CNavBarModel() = default;
  virtual bool CreateDefaultButtons() = 0;
  virtual void OnGraphicChanged(int flags, int renderRequest) = 0;
  virtual int Render(int redraw, int renderRequest) = 0;
  virtual void UpdateMenuColours() = 0;
  virtual void TakeMenuFontFromGraphic() = 0;
};
