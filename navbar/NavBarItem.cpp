#include "navbar/NavBarItem.h"

#include <algorithm>
#include <new>

#include "navbar/NavBar.h"
#include "navbar/NavBarButton.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr const char kUnit[] = "NavBarButton";
bool g_pageListCurrent = false;

void InternalError(int line) { GetNavBarServices().SetInternalError(line, kUnit); }

}  // namespace

bool IsPageListCurrent() { return g_pageListCurrent; }
void SetPageListCurrent(bool current) { g_pageListCurrent = current; }

CNavBarItem::CNavBarItem() = default;

CNavBarItem::~CNavBarItem() {
  for (CNavBarMenuItem* child : m_children) delete child;
  m_children.clear();
}

void CNavBarItem::SetText(const CString& text) {
  if (m_text != text) m_text = text;
}

void CNavBarItem::SetURL(const CString& link, bool check) {
  if (!check || link.IsEmpty()) {
    m_link = link;
    return;
  }
  CNavBarServices& services = GetNavBarServices();
  CNavBar* bar = services.GetNavBar();
  if (!services.HasOperationsManager() || !bar) return;
  const CString defaultLink = DefaultLink();
  if (link.CompareNoCase(defaultLink) != 0) {
    m_link = link;
    bar->AddURLChoice(link);
  } else {
    m_link = kDefaultURL;
  }
}

CNavBarMenuItem* CNavBarItem::GetChild(int index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return m_children[static_cast<std::size_t>(index)];
}

CNavBarMenuItem* CNavBarItem::InsertChild(CNavBarMenuItem* child, int position) {
  if (position < 0 || position > GetChildCount()) return nullptr;
  if (!child) {
    child = new (std::nothrow) CNavBarMenuItem;
    if (!child) {
      InternalError(192);
      return nullptr;
    }
  }
  Attach(child);
  m_children.insert(m_children.begin() + position, child);
  return child;
}

CNavBarMenuItem* CNavBarItem::AppendChild(CNavBarMenuItem* child) {
  SetPageListCurrent(false);
  if (!child) {
    child = new (std::nothrow) CNavBarMenuItem;
    if (!child) {
      InternalError(248);
      return nullptr;
    }
  }
  Attach(child);
  try {
    m_children.push_back(child);
  } catch (const std::bad_alloc&) {
    delete child;
    return nullptr;
  }
  return child;
}

bool CNavBarItem::RemoveChild(CNavBarItem* item, bool deleteItem) {
  SetPageListCurrent(false);
  if (!item) return false;
  for (std::size_t i = 0; i < m_children.size(); ++i) {
    CNavBarMenuItem* child = m_children[i];
    if (child == item) {
      m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(i));
      if (deleteItem) delete child;
      return true;
    }
    if (child->GetChildCount() > 0 && child->RemoveChild(item, deleteItem)) return true;
  }
  return false;
}

bool CNavBarItem::Detach(CNavBarMenuItem* child) {
  auto found = std::find(m_children.begin(), m_children.end(), child);
  if (found == m_children.end()) return false;
  m_children.erase(found);
  return true;
}

bool CNavBarItem::MoveChild(CNavBarMenuItem* item, int position) {
  CNavBarServices& services = GetNavBarServices();
  if (!services.HasOperationsManager()) {
    InternalError(313);
    return false;
  }
  if (!services.GetNavBar()) {
    InternalError(315);
    return false;
  }
  if (!item || item == this) return false;
  // An item moved under its own subtree would own itself: refuse instead of losing the branch.
  for (const CNavBarItem* up = this; up && up->GetKind() == 3;
       up = static_cast<const CNavBarMenuItem*>(up)->GetParentItem())
    if (up == item) return false;
  CNavBarItem* parent = item->GetParentItem();
  if (!parent) parent = item->GetOwningButton();
  const int count = GetChildCount() - (parent == this ? 1 : 0);
  if (position < 0 || position > count) return false;
  if (parent && !parent->Detach(item)) return false;
  SetPageListCurrent(false);
  return InsertChild(item, position) != nullptr;
}

const CStateImage* CNavBarItem::GetCachedImage(int state) const {
  if (state < 0 || state >= kStateCount) return nullptr;
  return m_cache[state].get();
}

int CNavBarItem::CacheImage() {
  const std::uint32_t* pixels = Pixels();
  if (!pixels || m_state < 0 || m_state >= kStateCount) return 0;
  const std::size_t count =
      static_cast<std::size_t>(std::max(Width(), 0)) * static_cast<std::size_t>(std::max(Height(), 0));
  try {
    if (!m_cache[m_state]) m_cache[m_state] = std::make_unique<CStateImage>();
  } catch (const std::bad_alloc&) {
    InternalError(432);
    return 0;
  }
  CStateImage& entry = *m_cache[m_state];
  std::size_t pairs = 0;
  for (std::size_t i = 0; i < count; ++pairs) {
    std::size_t j = i + 1;
    while (j < count && pixels[j] == pixels[i]) ++j;
    i = j;
  }
  try {
    if (2 * pairs < count) {
      entry.words.assign(2 * pairs, 0);
      std::size_t out = 0;
      for (std::size_t i = 0; i < count;) {
        std::size_t j = i + 1;
        while (j < count && pixels[j] == pixels[i]) ++j;
        entry.words[out++] = pixels[i];
        entry.words[out++] = static_cast<std::uint32_t>(j - i);
        i = j;
      }
      entry.wordCount = static_cast<std::uint32_t>(2 * pairs);
    } else {
      entry.words.assign(pixels, pixels + count);
      entry.wordCount = 0;
    }
  } catch (const std::bad_alloc&) {
    entry.words.clear();
    entry.wordCount = 0;
    entry.width = entry.height = 0;
    InternalError(2 * pairs < count ? 439 : 499);
    return 0;
  }
  entry.width = Width();
  entry.height = Height();
  return 1;
}

int CNavBarItem::RestoreImage() {
  if (m_state < 0 || m_state >= kStateCount || !m_cache[m_state]) return 0;
  const CStateImage& entry = *m_cache[m_state];
  if (entry.words.empty()) return 0;
  if (!Pixels() || entry.width != Width() || entry.height != Height()) {
    if (Create(entry.width, entry.height) != 0) {
      InternalError(562);
      return 0;
    }
  }
  std::uint32_t* pixels = Pixels();
  const std::size_t count = static_cast<std::size_t>(entry.width) * static_cast<std::size_t>(entry.height);
  if (entry.wordCount == 0) {
    std::copy(entry.words.begin(), entry.words.begin() + static_cast<std::ptrdiff_t>(std::min(count, entry.words.size())),
              pixels);
    return 1;
  }
  std::size_t out = 0;
  for (std::size_t k = 0; k + 1 < entry.words.size() && out < count; k += 2) {
    const std::size_t run = std::min<std::size_t>(entry.words[k + 1], count - out);
    std::fill(pixels + out, pixels + out + run, entry.words[k]);
    out += run;
  }
  return 1;
}

CNavBarMenuItem::CNavBarMenuItem() { m_text = kDefaultMenuText; }

bool CNavBarMenuItem::IsSeparator() const {
  for (int i = 0; i < m_text.GetLength(); ++i)
    if (m_text[i] != '-' && m_text[i] != '_') return false;
  return true;
}

void CNavBarMenuItem::SetOwner(CNavBarMenuItem* parent, CNavBarButton* owner) {
  m_parentItem = parent;
  m_owningButton = owner;
  for (CNavBarMenuItem* child : m_children) child->SetOwner(this, owner);
}

void CNavBarMenuItem::Attach(CNavBarMenuItem* child) { child->SetOwner(this, m_owningButton); }
