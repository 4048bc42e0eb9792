// The doctor's JSON parsed back, and the text a person reads.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "DoctorTestSupport.h"
#include "ostrel/doctor/DoctorForms.h"

namespace ostrel::doctor::testing {
namespace {

using nlohmann::json;

class DoctorForms : public DoctorTest {
 protected:
  DoctorForms() {
    registry_.put(manifestPath("ostrel"), manifestText({{"vantorell.ostrel", "Ostrel"}}));
    registry_.put(manifestPath("copy"), manifestText({{"vantorell.ostrel", "Ostrel"}}));
    registry_.put(manifestPath("broken"), "{\"applications\": [");
    setting("vantorell.ostrel", "{\"autolaunch\": false}");
    setting("gone.tool", "{\"autolaunch\": true}");
    list({manifestPath("ostrel"), manifestPath("copy"), manifestPath("broken"),
          manifestPath("gone")});
  }
};

TEST_F(DoctorForms, TheJsonHoldsEveryJudgementUnderStableNames) {
  const DoctorResult result = run({true, false, ""});
  const json parsed = json::parse(doctorJson(result));
  EXPECT_EQ(parsed["exit_status"], 5);
  EXPECT_EQ(parsed["state"], "problems-found");
  EXPECT_EQ(parsed["registry"]["file"], vrpath_);
  EXPECT_EQ(parsed["registry"]["config"], config_);
  EXPECT_EQ(parsed["registry"]["list_read"], true);
  ASSERT_EQ(parsed["manifests"].size(), 4u);
  const json& served = parsed["manifests"][0]["applications"][0];
  EXPECT_EQ(served["app_key"], "vantorell.ostrel");
  EXPECT_EQ(served["name"], "Ostrel");
  EXPECT_EQ(served["served"], true);
  EXPECT_EQ(served["auto_launch"], false);
  EXPECT_EQ(served["findings"], json::array());
  const json& shadowed = parsed["manifests"][1]["applications"][0];
  EXPECT_EQ(shadowed["served"], false);
  EXPECT_EQ(shadowed["auto_launch"], nullptr);
  EXPECT_EQ(shadowed["findings"][0]["code"], "key-shadowed");
  EXPECT_EQ(shadowed["findings"][0]["severity"], "error");
  EXPECT_EQ(parsed["manifests"][2]["state"], "refused");
  EXPECT_EQ(parsed["manifests"][2]["findings"][0]["code"], "json-syntax");
  EXPECT_EQ(parsed["manifests"][3]["state"], "missing");
  EXPECT_EQ(parsed["manifests"][3]["removed"], true);
  EXPECT_EQ(parsed["remove_dead"]["removed"], json::array({manifestPath("gone")}));
  EXPECT_EQ(parsed["remove_dead"]["refused"], json::array());
  EXPECT_EQ(parsed["remove_dead"]["runtime"]["reachable"], true);
  EXPECT_EQ(parsed["auto_launch"][0]["app_key"], "gone.tool");
  EXPECT_EQ(parsed["auto_launch"][0]["findings"][0]["code"], "auto-launch-orphan");
  EXPECT_EQ(parsed["summary"]["manifests"], 4);
  EXPECT_EQ(parsed["summary"]["applications"], 2);
  EXPECT_EQ(parsed["summary"]["served"], 1);
  EXPECT_EQ(parsed["summary"]["dead"], 1);
  EXPECT_EQ(parsed["summary"]["errors"], 2) << "key-shadowed and json-syntax; the dead entry went";
  EXPECT_EQ(parsed["summary"]["orphan_settings"], 1);
}

TEST_F(DoctorForms, WithoutRemovalTheJsonSaysNull) {
  const json parsed = json::parse(doctorJson(run()));
  EXPECT_TRUE(parsed["remove_dead"].is_null());
  EXPECT_EQ(parsed["manifests"][3]["removed"], false);
}

TEST_F(DoctorForms, TheJsonIsOneLineOfValidUtf8WhateverTheFilesHold) {
  // A non-ASCII listed path; a settings file whose name is not UTF-8,
  // which a Linux folder may hold.
  const std::string odd = manifestPath("José-应用");
  registry_.put(odd, manifestText({{"tools.odd", "Odd"}}));
  list({odd});
  setting("bad\xFFkey", "{\"autolaunch\": true}");
  const std::string text = doctorJson(run());
  EXPECT_EQ(text.find('\n'), std::string::npos);
  const json parsed = json::parse(text);  // throws on invalid UTF-8
  ASSERT_EQ(parsed["manifests"].size(), 1u) << text;
  EXPECT_EQ(parsed["manifests"][0]["path"], odd);
  ASSERT_EQ(parsed["auto_launch"].size(), 3u) << text;
  EXPECT_EQ(parsed["auto_launch"][0]["app_key"], "bad\xEF\xBF\xBDkey");
}

TEST_F(DoctorForms, TheTextIsATableWithTheProblemsUnderTheirRows) {
  const std::string text = doctorText(run());
  EXPECT_NE(text.find("registry file: " + vrpath_ + "\n"), std::string::npos) << text;
  const std::size_t header = text.find("APPLICATION       NAME    STATE    MANIFEST\n");
  ASSERT_NE(header, std::string::npos) << text;
  const std::size_t servedRow =
      text.find("vantorell.ostrel  Ostrel  ok       " + manifestPath("ostrel") + "\n");
  const std::size_t skippedRow =
      text.find("vantorell.ostrel  Ostrel  skipped  " + manifestPath("copy") + "\n");
  ASSERT_NE(servedRow, std::string::npos) << text;
  ASSERT_NE(skippedRow, std::string::npos) << text;
  EXPECT_LT(header, servedRow);
  EXPECT_NE(text.find("\n  error [key-shadowed]: ", skippedRow), std::string::npos) << text;
  EXPECT_NE(text.find("  " + manifestPath("broken") + " (refused)\n    error [json-syntax]"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("dead entries (the runtime lists them, the file is gone):\n  " +
                      manifestPath("gone") + "\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  warning [auto-launch-orphan]"), std::string::npos) << text;
  const std::string summary =
      "doctor: 4 listed manifests, 2 applications (1 served), 1 dead entry, 1 orphan "
      "auto-launch setting: 3 errors, 1 warning\n";
  ASSERT_GE(text.size(), summary.size());
  EXPECT_EQ(text.substr(text.size() - summary.size()), summary) << text;
}

TEST_F(DoctorForms, TheTextSaysWhatWasRemovedAndWhatWasRefused) {
  connector_.surface.removeAnswers.queued = {steamvr::ApplicationError{100}};
  registry_.put(manifestPath("ostrel"), manifestText({{"vantorell.ostrel", "Ostrel"}}));
  list({manifestPath("gone"), manifestPath("ostrel"), manifestPath("gone2")});
  const std::string text = doctorText(run({true, false, ""}));
  EXPECT_NE(text.find("the runtime refused to remove " + manifestPath("gone") + " ("),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("removed " + manifestPath("gone2") + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find("; removed 1 of 2 dead entries (the runtime refused the others)\n"),
            std::string::npos)
      << text;
  const std::string dry = doctorText(run({true, true, ""}));
  EXPECT_NE(dry.find("would remove " + manifestPath("gone") + "\n"), std::string::npos) << dry;
}

TEST_F(DoctorForms, AnUnreadableRegistrySaysSoInTheLastLine) {
  registry_.erase(vrpath_);
  const std::string text = doctorText(run());
  EXPECT_NE(text.find("warning [vrpath-missing]"), std::string::npos) << text;
  EXPECT_NE(text.find("\ndoctor: the runtime's list of applications cannot be read"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace ostrel::doctor::testing
