#include <gtest/gtest.h>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/cleaner/CleanerIObject.h"

namespace {

class Counted : public s::base::IObject
{
    S_CLASS_ID(L"cleanertest_Counted")

public:
    explicit Counted(int* deletions) : deletions_(deletions) {}
    ~Counted() override { ++*deletions_; }
    s::base::IObject* NewInstance() const override { return new Counted(deletions_); }

private:
    int* deletions_;
};

TEST(CleanerIObjectTest, DeletesAndClearsTheSlot)
{
    int deletions = 0;
    void* slot = static_cast<s::base::IObject*>(new Counted(&deletions));
    s::cleaner::CleanerIObject::Instance().Destroy(&slot);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(slot, nullptr);
    s::cleaner::CleanerIObject::Instance().Destroy(&slot);  // null slot: nothing
    s::cleaner::CleanerIObject::Instance().Destroy(nullptr);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(&s::cleaner::CleanerIObject::Instance(), &s::cleaner::CleanerIObject::Instance());
}

} // namespace
