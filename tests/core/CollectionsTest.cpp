#include "framework/core/CDWordArray.h"
#include "framework/core/CMapStringToPtr.h"
#include "framework/core/CMapStringToString.h"
#include "framework/core/CPtrArray.h"
#include "framework/core/CPtrList.h"
#include "framework/core/CStringArray.h"
#include "framework/core/CStringList.h"
#include "framework/core/CUIntArray.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::string Join(const CStringArray& a)
{
    std::string out;
    for (int i = 0; i < a.GetSize(); ++i)
        out += std::string(i ? "," : "") + static_cast<LPCTSTR>(a[i]);
    return out;
}

std::string Join(const CStringList& list)
{
    std::string out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out += std::string(out.empty() ? "" : ",") + static_cast<LPCTSTR>(list.GetNext(pos));
    return out;
}

TEST(Arrays, EditingSequence)
{
    CStringArray a;
    EXPECT_EQ(a.Add("b"), 0);
    EXPECT_EQ(a.Add(CString("d")), 1);
    a.InsertAt(0, "a");
    a.InsertAt(2, "c", 2);
    EXPECT_EQ(Join(a), "a,b,c,c,d");
    a.RemoveAt(2);
    a.RemoveAt(3, 5);  // only what is there
    EXPECT_EQ(Join(a), "a,b,c");
    a.InsertAt(5, "f");  // past the end grows with empty strings
    EXPECT_EQ(Join(a), "a,b,c,,,f");
    a.SetSize(2);
    a.SetAt(1, "B");
    a.ElementAt(0) += "!";
    EXPECT_EQ(Join(a), "a!,B");
    a.SetAtGrow(3, a[0]);  // an element of the array itself
    EXPECT_EQ(Join(a), "a!,B,,a!");
    EXPECT_EQ(a.GetUpperBound(), 3);

    CStringArray b;
    b.Copy(a);
    EXPECT_EQ(b.Append(a), 4);
    EXPECT_EQ(b.Append(b), 8);  // appending itself doubles it
    EXPECT_EQ(b.GetSize(), 16);
    b.InsertAt(1, &a);
    EXPECT_EQ(b.GetSize(), 20);
    b.RemoveAll();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.GetData(), nullptr);
}

TEST(Arrays, OutOfRangeIndicesTouchNothing)
{
    CDWordArray a;
    a.Add(5);
    EXPECT_EQ(a.GetAt(1), 0u);
    EXPECT_EQ(a.GetAt(-1), 0u);
    a.SetAt(7, 9);
    a.RemoveAt(-1);
    a.RemoveAt(1);
    a[3] = 11;  // a scratch element, not part of the array
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], 5u);

    CPtrArray p;
    int x = 0;
    p.Add(&x);
    EXPECT_EQ(p.GetAt(0), &x);
    EXPECT_EQ(p.GetAt(4), nullptr);
    CUIntArray u;
    u.SetSize(3);
    EXPECT_EQ(u.GetData()[2], 0u);
}

TEST(Lists, PositionsInsertAndRemove)
{
    CStringList list;
    POSITION b = list.AddTail("b");
    list.AddHead("a");
    POSITION d = list.AddTail("d");
    list.InsertAfter(b, "c");
    list.InsertBefore(list.GetHeadPosition(), "0");
    list.InsertAfter(nullptr, "e");   // null: at the tail
    list.InsertBefore(nullptr, "-");  // null: at the head
    EXPECT_EQ(Join(list), "-,0,a,b,c,d,e");
    EXPECT_EQ(list.GetCount(), 7);
    EXPECT_EQ(list.GetAt(d), "d");
    EXPECT_EQ(list.Find("c"), list.FindIndex(4));
    EXPECT_EQ(list.Find("c", list.Find("c")), nullptr);
    EXPECT_EQ(list.Find("zz"), nullptr);
    EXPECT_EQ(list.FindIndex(7), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    // Remove while iterating: GetNext has already moved on.
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        POSITION here = pos;
        const CString& value = list.GetNext(pos);
        if (value == "0" || value == "c" || value == "e")
            list.RemoveAt(here);
    }
    EXPECT_EQ(Join(list), "-,a,b,d");
    EXPECT_EQ(list.RemoveHead(), "-");
    EXPECT_EQ(list.RemoveTail(), "d");
    EXPECT_EQ(list.GetHead(), "a");
    EXPECT_EQ(list.GetTail(), "b");

    std::string backwards;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        backwards += static_cast<LPCTSTR>(list.GetPrev(pos));
    EXPECT_EQ(backwards, "ba");

    list.AddTail(&list);  // a copy of itself
    EXPECT_EQ(Join(list), "a,b,a,b");
    CStringList copy(list);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.RemoveHead(), "");  // empty: a default element
    EXPECT_EQ(Join(copy), "a,b,a,b");
}

TEST(Lists, PointerList)
{
    int values[3] = {};
    CPtrList list;
    for (int& v : values)
        list.AddTail(&v);
    EXPECT_EQ(list.Find(&values[1]), list.FindIndex(1));
    list.RemoveAt(list.Find(&values[1]));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetHead(), &values[0]);
    EXPECT_EQ(list.GetTail(), &values[2]);
}

TEST(Maps, SetLookupRemoveAndIterate)
{
    CMapStringToString map;
    std::map<std::string, std::string> model;
    for (int i = 0; i < 100; ++i) {
        CString key, value;
        key.Format("key%d", i % 60);
        value.Format("v%d", i);
        map.SetAt(key, value);
        model[static_cast<LPCTSTR>(key)] = static_cast<LPCTSTR>(value);
    }
    map["Key0"] = "upper";  // keys are case-sensitive
    model["Key0"] = "upper";
    for (int i = 0; i < 60; i += 3) {
        CString key;
        key.Format("key%d", i);
        EXPECT_TRUE(map.RemoveKey(key));
        EXPECT_FALSE(map.RemoveKey(key));
        model.erase(static_cast<LPCTSTR>(key));
    }
    EXPECT_EQ(map.GetCount(), static_cast<int>(model.size()));

    CString value;
    EXPECT_TRUE(map.Lookup("key1", value));
    EXPECT_EQ(value, "v61");
    EXPECT_FALSE(map.Lookup("key0", value));
    EXPECT_EQ(value, "v61");  // unchanged on a miss

    // Every association exactly once, removing as we go.
    const CMapStringToString copy(map);
    std::map<std::string, std::string> seen;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        CString key, v;
        map.GetNextAssoc(pos, key, v);
        EXPECT_TRUE(seen.emplace(static_cast<LPCTSTR>(key), static_cast<LPCTSTR>(v)).second);
        map.RemoveKey(key);
    }
    EXPECT_EQ(seen, model);
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    EXPECT_EQ(copy.GetCount(), static_cast<int>(model.size()));

    CMapStringToPtr pointers;
    int x = 0;
    pointers["x"] = &x;
    void* found = nullptr;
    EXPECT_TRUE(pointers.Lookup("x", found));
    EXPECT_EQ(found, &x);
    EXPECT_EQ(pointers["absent"], nullptr);  // operator[] adds a null value
    EXPECT_EQ(pointers.GetCount(), 2);
}

}  // namespace
