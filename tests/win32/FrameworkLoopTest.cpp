// The application's message loop. A suite of its own: once the loop has
// ended, the application stays terminated for the rest of the process.
#include <windows.h>

#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"

using namespace framework;
using namespace frameworktest;

namespace {

constexpr UINT kProbe = WM_APP + 7;

class TLoopForm : public TForm {
public:
  using TForm::TForm;
  void WndProc(TMessage& m) override
  {
    if (m.Msg == kProbe) {
      ++probes;
      runningInside = Application->Running();
      if (runningInside)
        Application->Terminate();
      m.Result = 0;
      return;
    }
    TForm::WndProc(m);
  }
  int probes = 0;
  bool runningInside = false;
};

TEST(ApplicationLoop, RunningOnlyWhileRunHandlesMessages)
{
  InitApplication();
  EXPECT_FALSE(Application->Running());
  auto* form = new TLoopForm(Application);
  // Handled outside the loop, the probe sees no running loop.
  SendMessageW(form->Handle(), kProbe, 0, 0);
  EXPECT_FALSE(form->runningInside);
  PostMessageW(form->Handle(), kProbe, 0, 0);
  Application->Run();
  EXPECT_EQ(form->probes, 2);
  EXPECT_TRUE(form->runningInside);
  EXPECT_FALSE(Application->Running());
  delete form;
}

} // namespace
