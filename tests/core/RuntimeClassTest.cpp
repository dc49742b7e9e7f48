#include "framework/core/CObject.h"
#include "framework/core/CStringArray.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CBox : public CShape {
    DECLARE_DYNCREATE(CBox)
public:
    int m_side = 7;
};
IMPLEMENT_DYNCREATE(CBox, CShape)

// No record of its own: it reports its base's.
class CPlainBox : public CBox {
};

class CLine : public CObject {
    DECLARE_DYNAMIC(CLine)
};
IMPLEMENT_DYNAMIC(CLine, CObject)

TEST(RuntimeClass, KindsThroughTwoLevels)
{
    CBox box;
    CPlainBox plain;
    CLine line;
    struct Case {
        const CObject* object;
        const CRuntimeClass* cls;
        bool expected;
    } cases[] = {
        {&box, RUNTIME_CLASS(CBox), true},     {&box, RUNTIME_CLASS(CShape), true},
        {&box, RUNTIME_CLASS(CObject), true},  {&box, RUNTIME_CLASS(CLine), false},
        {&plain, RUNTIME_CLASS(CShape), true}, {&line, RUNTIME_CLASS(CShape), false},
        {&line, RUNTIME_CLASS(CBox), false},   {&box, nullptr, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.object->IsKindOf(c.cls) != FALSE, c.expected)
            << c.object->GetRuntimeClass()->m_lpszClassName << " / " << (c.cls ? c.cls->m_lpszClassName : "null");
}

TEST(RuntimeClass, NamesAndCreation)
{
    CBox box;
    CPlainBox plain;
    const CObject& asObject = box;
    EXPECT_STREQ(asObject.GetRuntimeClass()->m_lpszClassName, "CBox");
    EXPECT_STREQ(plain.GetRuntimeClass()->m_lpszClassName, "CBox");
    EXPECT_STREQ(RUNTIME_CLASS(CBox)->m_pBaseClass->m_lpszClassName, "CShape");
    EXPECT_STREQ(RUNTIME_CLASS(CShape)->m_pBaseClass->m_lpszClassName, "CObject");
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
    EXPECT_STREQ(CStringArray().GetRuntimeClass()->m_lpszClassName, "CStringArray");

    std::unique_ptr<CObject> created(RUNTIME_CLASS(CBox)->CreateObject());
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CBox)));
    EXPECT_EQ(static_cast<CBox*>(created.get())->m_side, 7);
    EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);

    CObject* object = &box;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CShape, object), &box);
    CObject* other = &plain;
    CObject* lineObject = nullptr;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CLine, other), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CLine, lineObject), nullptr);
}

}  // namespace
