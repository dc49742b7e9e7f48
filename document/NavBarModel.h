// The part of the navigation bar model that the operations manager drives. The navigation bar
// module implements it; the manager owns one instance (made through the operations services).
#pragma once

class Bitmap32;

class CNavBarModel {
 public:
  virtual ~CNavBarModel() = default;
  virtual bool CreateDefaultButtons() = 0;
  virtual void OnGraphicChanged(int flags, int renderRequest) = 0;
  virtual int Render(int redraw, int renderRequest) = 0;
  virtual void UpdateMenuColours() = 0;
  virtual void TakeMenuFontFromGraphic() = 0;
  // Draws the badge naming the state the bar is shown in onto the preview's surface (bottom-up
  // rows); false when nothing was drawn.
  virtual bool DrawStateBadge(Bitmap32& surface) { return false; }
};
