// One per-story list of the option record (texts, fonts, sizes...): a list that is never empty
// once the record exists, whose reads past the end give the last element (so a record with
// fewer entries in one list than in another still answers for every story), and whose resizes
// keep the existing elements and give new ones the list's default.
#pragma once

#include <cstddef>
#include <vector>

template <class T>
class CStoryList {
 public:
  explicit CStoryList(const T& initial = T()) : m_default(initial), m_items(1, initial) {}

  unsigned GetSize() const { return static_cast<unsigned>(m_items.size()); }

  // The element at index, or the last one past the end; the default when the list is empty.
  const T& At(std::size_t index) const {
    if (m_items.empty()) return m_default;
    return index < m_items.size() ? m_items[index] : m_items.back();
  }
  // Sets an existing element; an index past the end changes nothing.
  bool Set(std::size_t index, const T& value) {
    if (index >= m_items.size()) return false;
    m_items[index] = value;
    return true;
  }
  void SetSize(std::size_t count) { m_items.resize(count, m_default); }
  void RemoveAll() { m_items.clear(); }
  void Add(const T& value) { m_items.push_back(value); }
  // Back to one element holding the default.
  void Reset() { m_items.assign(1, m_default); }

  bool operator==(const CStoryList& other) const { return m_items == other.m_items; }
  bool operator!=(const CStoryList& other) const { return !(*this == other); }

 private:
  T m_default;
  std::vector<T> m_items;
};
