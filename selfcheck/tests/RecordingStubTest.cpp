#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingStub.h"

namespace {

using Log = std::vector<std::string>;

TEST(RecordingStub, EmptyQueuesAnswerSuccessAndNotInstalled) {
  StubApplicationsSurface stub;
  EXPECT_EQ(stub.AddApplicationManifest("p", false), 0);
  EXPECT_FALSE(stub.IsApplicationInstalled("k"));
  EXPECT_EQ(stub.SetApplicationAutoLaunch("k", true), 0);
  EXPECT_EQ(stub.RemoveApplicationManifest("p"), 0);
  EXPECT_EQ(stub.callLog_,
            (Log{"AddApplicationManifest(p,false)", "IsApplicationInstalled(k)",
                 "SetApplicationAutoLaunch(k,true)", "RemoveApplicationManifest(p)"}));
}

TEST(RecordingStub, AnswersInQueueOrderThenDefaults) {
  StubApplicationsSurface stub;
  stub.installedResults_.push(false);
  stub.installedResults_.push(false);
  stub.installedResults_.push(true);
  std::vector<bool> answers;
  for (int i = 0; i < 4; ++i) answers.push_back(stub.IsApplicationInstalled("vantorell.ostrel"));
  EXPECT_EQ(answers, (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(countCalls(stub.callLog_, "IsApplicationInstalled("), 4);
  EXPECT_EQ(stub.callLog_[0], "IsApplicationInstalled(vantorell.ostrel)");

  stub.addResults_.push(107);
  EXPECT_EQ(stub.AddApplicationManifest("p", false), 107);
  EXPECT_TRUE(stub.addResults_.empty());
  EXPECT_EQ(stub.AddApplicationManifest("p", false), 0);

  stub.autoLaunchResults_.push(105);
  stub.removeResults_.push(104);
  EXPECT_EQ(stub.SetApplicationAutoLaunch("k", false), 105);
  EXPECT_EQ(stub.RemoveApplicationManifest("p"), 104);
  EXPECT_EQ(stub.callLog_.size(), 8u);
  EXPECT_EQ(stub.callLog_[6], "SetApplicationAutoLaunch(k,false)");
}

TEST(RecordingStub, RecordsArgumentsVerbatimAndNullAsText) {
  StubApplicationsSurface stub;
  stub.AddApplicationManifest(nullptr, false);
  stub.IsApplicationInstalled(nullptr);
  stub.RemoveApplicationManifest("C:\\Program Files\\Ostrel\\app.vrmanifest");
  stub.AddApplicationManifest("D:\\Jos\xc3\xa9 x,y", true);
  EXPECT_EQ(stub.callLog_,
            (Log{"AddApplicationManifest((null),false)", "IsApplicationInstalled((null))",
                 "RemoveApplicationManifest(C:\\Program Files\\Ostrel\\app.vrmanifest)",
                 "AddApplicationManifest(D:\\Jos\xc3\xa9 x,y,true)"}));
  EXPECT_NE(stub.callLog_[2].find("app.vrmanifest"), std::string::npos);
}

TEST(RecordingStub, ErrorNameIsTheSharedLookupAndIsNotRecorded) {
  StubApplicationsSurface stub;
  ostrel::steamvr::IVRApplicationsSurface& seam = stub;
  EXPECT_STREQ(seam.ErrorName(107), "VRApplicationError_InvalidManifest");
  EXPECT_STREQ(seam.ErrorName(-1), "VRApplicationError_Unknown");
  EXPECT_STREQ(seam.ErrorName(116), "VRApplicationError_Unknown");
  EXPECT_TRUE(stub.callLog_.empty());
}

TEST(CallLogQueries, CountAndFindMatchOnlyAtTheStart) {
  const Log log{"AddApplicationManifest(p,false)", "IsApplicationInstalled(k)",
                "IsApplicationInstalled(k)", "SetApplicationAutoLaunch(k,true)"};
  EXPECT_EQ(countCalls(log, "IsApplicationInstalled("), 2);
  EXPECT_EQ(countCalls(log, "AddApplicationManifest("), 1);
  EXPECT_EQ(firstCallIndex(log, "SetApplicationAutoLaunch("), 3);
  EXPECT_EQ(firstCallIndex(log, "AddApplicationManifest("), 0);
  EXPECT_EQ(firstCallIndex(log, "IsApplicationInstalled("), 1);
  EXPECT_EQ(firstCallIndex(log, "RemoveApplicationManifest("), -1);
  EXPECT_EQ(countCalls(log, "RemoveApplicationManifest("), 0);

  const Log buried{"xIsApplicationInstalled(k)", " IsApplicationInstalled(k)", "IsApplication"};
  EXPECT_EQ(countCalls(buried, "IsApplicationInstalled("), 0);
  EXPECT_EQ(firstCallIndex(buried, "IsApplicationInstalled("), -1);
}

TEST(CallLogQueries, EmptyLogAndEmptyPrefix) {
  const Log empty;
  EXPECT_EQ(countCalls(empty, "AddApplicationManifest("), 0);
  EXPECT_EQ(firstCallIndex(empty, "AddApplicationManifest("), -1);
  EXPECT_EQ(countCalls(empty, ""), 0);
  EXPECT_EQ(firstCallIndex(empty, ""), -1);

  const Log two{"a", ""};
  EXPECT_EQ(countCalls(two, ""), 2);
  EXPECT_EQ(firstCallIndex(two, ""), 0);
}

}  // namespace
