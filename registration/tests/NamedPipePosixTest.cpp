// A named pipe with no writer blocks whoever opens it for reading. Named as
// the manifest or as one of the runtime's files, it must be answered at once,
// unopened, by every reader: the registry's, the manifest check's, the
// manifest reader status uses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/registration/ManifestLocation.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::registration {
namespace {

class NamedPipe : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.path().empty()) << scratch_.error();
    ASSERT_EQ(::mkfifo(pipe_.c_str(), 0600), 0);
  }

  const ostrel::testing::ScratchFolder scratch_{"ostrel-pipe-"};
  const std::filesystem::path pipe_ = scratch_.path() / "app.vrmanifest";
};

TEST_F(NamedPipe, AsARegistryFileIsUnreadable) {
  const auto read = runtimeregistry::createDiskFiles()->Read(pipe_, 1024);
  EXPECT_EQ(read.status, runtimeregistry::FileRead::Status::Unreadable);
  EXPECT_NE(read.reason.find("not a regular file"), std::string::npos) << read.reason;
}

TEST_F(NamedPipe, AsTheManifestIsRefusedByEveryReader) {
  const std::vector<manifestcheck::ManifestFinding> findings =
      manifestcheck::checkManifest({pipe_, std::nullopt, "vantorell.ostrel"});
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].code, manifestcheck::findings::kFileNotRegular);

  EXPECT_EQ(manifestcheck::readManifest(pipe_.string()).failure,
            manifestcheck::ManifestReadFailure::CannotOpen);

  const outcome::Outcome<ManifestLocation> location =
      readManifestLocation(pipe_.string(), "vantorell.ostrel");
  ASSERT_FALSE(location);
  EXPECT_NE(location.failure().message.find("cannot open"), std::string::npos)
      << location.failure().message;
}

}  // namespace
}  // namespace ostrel::registration
