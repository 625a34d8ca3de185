#include <gtest/gtest.h>

#include "TestComponents.h"

using namespace framework;
using namespace testcomponents;

namespace {

// Counts destructions so ownership can be observed from outside.
class TCounted : public TComponent {
public:
  TCounted(TComponent* owner, std::vector<std::string>& log, std::string tag)
    : TComponent(owner), log_(log), tag_(std::move(tag)) {}
  ~TCounted() override { log_.push_back(tag_); }
  void Notification(TComponent* component, TOperation operation) override
  {
    if (operation == TOperation::opRemove && component == watched)
      watched = nullptr;
  }
  TComponent* watched = nullptr;

private:
  std::vector<std::string>& log_;
  std::string tag_;
};

} // namespace

TEST(ComponentOwnership, OwnerFreesWhatItOwnsLastCreatedFirst)
{
  std::vector<std::string> log;
  auto* root = new TCounted(nullptr, log, "root");
  auto* a = new TCounted(root, log, "a");
  new TCounted(a, log, "a1");
  new TCounted(root, log, "b");
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(a->Owner(), root);
  delete root;
  // The owner's own destructor body runs first; then b, the last created, goes
  // before a, and a takes a1 with it.
  EXPECT_EQ(log, (std::vector<std::string>{"root", "b", "a", "a1"}));
}

TEST(ComponentOwnership, FreeingAnOwnedComponentRemovesItFromItsOwner)
{
  std::vector<std::string> log;
  TCounted root(nullptr, log, "root");
  auto* a = new TCounted(&root, log, "a");
  a->SetName("Alpha");
  EXPECT_EQ(root.FindComponent("alpha"), a);
  delete a;
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_EQ(root.FindComponent("Alpha"), nullptr);
}

TEST(ComponentOwnership, FreeNotificationClearsReferencesBothWays)
{
  std::vector<std::string> log;
  TCounted holder(nullptr, log, "holder");
  auto* target = new TCounted(nullptr, log, "target");
  holder.watched = target;
  target->FreeNotification(&holder);
  delete target;
  EXPECT_EQ(holder.watched, nullptr);
  // And the holder going first leaves the target with no stale link.
  auto* holder2 = new TCounted(nullptr, log, "holder2");
  TCounted target2(nullptr, log, "target2");
  target2.FreeNotification(holder2);
  delete holder2; // must not leave target2 pointing at freed memory (ASan checks)
}

TEST(ComponentNames, NamesAreIdentifiersAndUniquePerOwnerIgnoringCase)
{
  TComponent root(nullptr);
  auto* a = new TComponent(&root);
  auto* b = new TComponent(&root);
  a->SetName("Button1");
  EXPECT_THROW(b->SetName("BUTTON1"), EComponentError);
  EXPECT_THROW(b->SetName("1Button"), EComponentError);
  EXPECT_THROW(b->SetName("Has Space"), EComponentError);
  b->SetName("_button2");
  EXPECT_EQ(root.FindComponent("_BUTTON2"), b);
  a->SetName("");
  EXPECT_EQ(root.FindComponent(""), nullptr);
  b->SetName("Button1"); // free again once a gave it up
  EXPECT_EQ(root.FindComponent("button1"), b);
}

TEST(ComponentNames, MovingToAnotherOwnerChecksTheNameThere)
{
  TComponent first(nullptr), second(nullptr);
  auto* a = new TComponent(&first);
  a->SetName("Same");
  auto* b = new TComponent(&second);
  b->SetName("Same");
  EXPECT_THROW(second.InsertComponent(a), EComponentError);
  EXPECT_EQ(a->Owner(), &first);
  b->SetName("Other");
  second.InsertComponent(a);
  EXPECT_EQ(a->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
}

TEST(ComponentState, DesigningReachesOwnedComponentsAndLoadedEndsLoading)
{
  TComponent root(nullptr);
  auto* child = new TComponent(&root);
  root.SetDesigning(true);
  EXPECT_TRUE(child->HasState(csDesigning));
  child->BeginLoading();
  EXPECT_TRUE(child->HasState(csLoading));
  child->Loaded();
  EXPECT_FALSE(child->HasState(csLoading));
  EXPECT_TRUE(child->HasState(csDesigning));
}
