// The items of a navigation bar: every item is a Bitmap32 that holds its image for the current
// state and a node of the drop-down menu tree with its own text, link, alt text and target
// frame. Buttons and end caps are in NavBarButton.h.
//
// Kinds (GetKind): 0 item, 1 button, 2 end cap, 3 menu item.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/Bitmap32.h"
#include "framework/core/CString.h"

class CNavBarButton;
class CNavBarMenuItem;

// The placeholder texts the items store and compare.
constexpr const char kDefaultURL[] = "(Default URL)";
constexpr const char kDefaultAltText[] = "(Button Name)";
constexpr const char kDefaultMenuText[] = "Default Menu Text";

// Cleared by every change of a link or of the item tree; set again by whoever rebuilds the
// list of pages the bar links to.
bool IsPageListCurrent();
void SetPageListCurrent(bool current);

// One state's image kept while another state is shown: run-length (value, count) pairs when
// that at least halves the size, else the raw pixels (word count 0).
struct CStateImage {
  std::uint32_t wordCount = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> words;
};

class CNavBarItem : public Bitmap32 {
 public:
  static constexpr int kStateCount = 4;

  CNavBarItem();
  ~CNavBarItem() override;
  CNavBarItem(const CNavBarItem&) = delete;
  CNavBarItem& operator=(const CNavBarItem&) = delete;

  virtual int GetKind() const { return 0; }
  virtual void SetText(const CString& text);
  // With check, a link equal to the item's default is stored as the default marker and any
  // other link is remembered in the bar's link choices; without check it is stored as given.
  virtual void SetURL(const CString& link, bool check);
  virtual void SetAltText(const CString& text) { m_altText = text; }
  virtual void SetTarget(const CString& target) { m_target = target; }
  virtual CString GetText() const { return m_text; }
  virtual CString GetAltText(bool substitute) const { return m_altText; }
  virtual CString GetTarget() const { return m_target; }
  virtual CString GetURL() const { return m_link; }
  virtual void SetState(int state) { m_state = state; }
  int GetState() const { return m_state; }

  // Menu tree. Positions and indexes outside the children array give null or false.
  int GetChildCount() const { return static_cast<int>(m_children.size()); }
  CNavBarMenuItem* GetChild(int index) const;
  // Inserts child (a new menu item when null) at position 0..count.
  CNavBarMenuItem* InsertChild(CNavBarMenuItem* child, int position);
  CNavBarMenuItem* AppendChild(CNavBarMenuItem* child);
  // Removes the first match in this item's subtree (depth first); deletes it when asked.
  bool RemoveChild(CNavBarItem* item, bool deleteItem);
  // Takes item from wherever it hangs and inserts it under this item at position.
  bool MoveChild(CNavBarMenuItem* item, int position);

  // 0 unknown, 1 the Over and Selected images are identical, 2 they differ.
  int GetStateComparison() const { return m_stateComparison; }
  void SetStateComparison(int answer) { m_stateComparison = answer; }
  bool IsRendered() const { return m_rendered != 0; }

  // The per-state image cache: CacheImage keeps the pixels as the current state's entry,
  // RestoreImage puts the current state's entry back into the pixels (0 when there is none).
  int CacheImage();
  int RestoreImage();
  const CStateImage* GetCachedImage(int state) const;

 protected:
  // The link a check compares against: a button's default page, "" for a menu item.
  virtual CString DefaultLink() const { return CString(); }
  void MarkRendered() { m_rendered = 1; }
  // Hooks a child under this item (its parent and owning button).
  virtual void Attach(CNavBarMenuItem* child) = 0;
  // Removes child from this item's own array without deleting it.
  bool Detach(CNavBarMenuItem* child);

  int m_state = 0;
  int m_rendered = 0;
  std::unique_ptr<CStateImage> m_cache[kStateCount];
  std::vector<CNavBarMenuItem*> m_children;
  CString m_text;
  CString m_link;
  CString m_altText;
  CString m_target;
  int m_stateComparison = 0;
};

class CNavBarMenuItem : public CNavBarItem {
 public:
  CNavBarMenuItem();
  int GetKind() const override { return 3; }
  // The first-level ancestor, and the parent menu item (null for a first-level item).
  CNavBarButton* GetOwningButton() const { return m_owningButton; }
  CNavBarMenuItem* GetParentItem() const { return m_parentItem; }
  // Empty, or only "-" and "_": drawn as a separator line.
  bool IsSeparator() const;

 protected:
  void Attach(CNavBarMenuItem* child) override;

 private:
  friend class CNavBarItem;
  friend class CNavBarButton;
  // Hooks this item under parent (null for a first level) of owner, with its whole subtree.
  void SetOwner(CNavBarMenuItem* parent, CNavBarButton* owner);
  CNavBarButton* m_owningButton = nullptr;
  CNavBarMenuItem* m_parentItem = nullptr;
};
