#include "ManifestStructure.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "PathRules.h"
#include "PathText.h"
#include "SystemRules.h"
#include "TextScan.h"
#include "ostrel/manifestcheck/FindingCodes.h"
#include "ostrel/text/ListText.h"

namespace ostrel::manifestcheck {

namespace {

using nlohmann::json;

// Keys the runtime reads as paths relative to the manifest's folder, besides
// the program's.
constexpr const char* kRelativePathKeys[] = {"image_path", "action_manifest_path"};

// The keys that name the program, one per system the runtime runs on; each
// system's runtime reads only its own.
constexpr const char* kBinaryKeys[] = {"binary_path_windows", "binary_path_linux",
                                       "binary_path_osx", "binary_path_linux_arm"};

// How many keys an app-key-missing message lists before "and N more".
constexpr std::size_t kKeysShown = 8;

// k_unMaxApplicationKeyLength in openvr.h: the size of the runtime's buffer
// for a key, its terminating NUL included.
constexpr std::size_t kAppKeyBufferSize = 128;

constexpr const char* kAppKeyCharacters = "ASCII letters, digits, '.', '-' and '_'";

const json* member(const json& object, const char* key) {
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

std::string typeName(const json& value) {
  switch (value.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::boolean:
      return value.get<bool>() ? "true" : "false";
    case json::value_t::string:
      return "a string";
    case json::value_t::array:
      return "an array";
    case json::value_t::object:
      return "an object";
    default:
      return "a number";
  }
}

void wrongType(FindingList& findings, const std::string& where, const json& value,
               std::string_view expected) {
  findings.error(findings::kWrongType,
                 where + " is " + typeName(value) + "; it must be " + std::string(expected));
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

bool isAppKeyCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

// "U+00E9" for the well-formed UTF-8 sequence `sequence`.
std::string codePointName(std::string_view sequence) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(sequence[i]));
  };
  std::uint32_t value = byte(0);
  if (sequence.size() == 2) value = value & 0x1F;
  if (sequence.size() == 3) value = value & 0x0F;
  if (sequence.size() == 4) value = value & 0x07;
  for (std::size_t i = 1; i < sequence.size(); ++i) value = (value << 6) | (byte(i) & 0x3F);
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  for (int shift = 20; shift >= 0; shift -= 4) {
    const std::uint32_t digit = (value >> shift) & 0x0F;
    if (digit != 0 || !digits.empty() || shift < 16) digits += kDigits[digit];
  }
  return "U+" + digits;
}

// The app key rules of the runtime: it skips, with a log line and nothing
// the user sees, an application whose key it refuses or cannot hold.
// `subject` names the key ("applications[0].app_key"); `fix` ends the line.
void checkAppKeyText(const std::string& key, const std::string& subject, std::string_view fix,
                     FindingList& findings) {
  if (key.empty()) {
    findings.error(findings::kAppKeyInvalid, subject +
                                          " is empty, and the runtime skips an application "
                                          "without a key: " +
                                          std::string(fix) + " of " + kAppKeyCharacters +
                                          ", such as \"vantorell.ostrel\"");
    return;
  }
  // Every character before the first refused one is ASCII, so the position
  // in characters is the offset plus one.
  const auto refused = std::find_if_not(key.begin(), key.end(), isAppKeyCharacter);
  if (refused != key.end()) {
    const auto offset = static_cast<std::size_t>(refused - key.begin());
    const std::size_t position = offset + 1;
    const std::size_t length = utf8SequenceLength(key, offset);
    std::string character;
    if (length == 0) {
      constexpr char kDigits[] = "0123456789ABCDEF";
      const auto byte = static_cast<unsigned char>(key[offset]);
      character =
          std::string("the byte 0x") + kDigits[byte >> 4] + kDigits[byte & 0x0F] + " (not UTF-8)";
    } else {
      const std::string sequence = key.substr(offset, length);
      character = "'" + escaped(sequence) + "' (" + codePointName(sequence) + ")";
    }
    findings.error(findings::kAppKeyInvalid, subject + " " + quote(key) + " has " + character +
                                          " at position " + std::to_string(position) +
                                          ", and the runtime skips an application whose "
                                          "key holds anything but " +
                                          kAppKeyCharacters + ": " + std::string(fix) +
                                          " of those characters only");
  }
  if (key.size() >= kAppKeyBufferSize) {
    findings.error(findings::kAppKeyTooLong,
                   subject + " " + quote(key) + " is " + std::to_string(key.size()) +
                       " bytes long; the runtime holds at most " +
                       std::to_string(kAppKeyBufferSize - 1) +
                       " bytes of a key and skips the application: " + std::string(fix) +
                       " of at most " + std::to_string(kAppKeyBufferSize - 1) + " bytes");
  }
}

void checkBinary(const json& application, const std::string& where, bool required,
                 const ManifestContentContext& context, const ISystemRules& rules,
                 FindingList& findings) {
  const std::string key = rules.BinaryKey();
  const std::string program(rules.Program());
  const std::string field = memberPath(where, key);
  const json* value = member(application, key.c_str());
  if (value == nullptr) {
    if (required) {
      std::vector<std::string> others;
      for (const char* other : kBinaryKeys) {
        if (other != key && member(application, other) != nullptr) others.emplace_back(other);
      }
      const std::string only = others.empty() ? ""
                                              : " (it names a program only for other systems: " +
                                                    quoteList(others, kKeysShown) + ")";
      findings.error(findings::kBinaryPathMissing,
                     where + " has launch_type \"binary\" but no " + key + only + ", so " +
                         std::string(rules.WithoutProgram()) + ": add the path of " + program +
                         ", absolute or relative to the manifest's folder");
    }
    return;
  }
  if (!value->is_string()) {
    wrongType(findings, field, *value, "a string: the path of " + program);
    return;
  }
  const std::string& text = value->get_ref<const std::string&>();
  if (text.empty()) {
    findings.error(findings::kBinaryPathMissing,
                   field + " is empty, so the runtime has nothing to start: give the path of " +
                       program + ", absolute or relative to the manifest's folder");
    return;
  }
  if (text.find('\0') != std::string::npos) {
    findings.error(findings::kBinaryMissing, field + " " + quotePathText(text) +
                                         " contains a NUL character (\\u0000), so it names no "
                                         "file: remove it");
    return;
  }
  if (!isAscii(text)) {
    findings.warning(findings::kNonAsciiPath,
                     field + " " + quotePathText(text) +
                         " contains non-ASCII characters, which some runtime versions mishandle: "
                         "if the application does not start, install it under a plain-ASCII "
                         "path");
  }
  rules.CheckRelativePath(field, text, findings);
  const std::optional<std::filesystem::path> resolved =
      rules.ResolveBinaryPath(text, context.manifestFolder);
  if (!resolved) {
    findings.error(findings::kBinaryMissing,
                   field + " " + quotePathText(text) + " cannot be a path on this system: fix it");
    return;
  }
  rules.CheckProgramLocation(*resolved, field, context.paths, findings);
  if (context.paths == nullptr) return;
  switch (context.paths->Kind(*resolved)) {
    case PathKind::RegularFile:
      return;
    case PathKind::Directory:
      findings.error(findings::kBinaryMissing, field + " " + quotePathText(text) + " names a folder (" +
                                           quotePath(*resolved) +
                                           "), not a program: name " +
                                           std::string(rules.ProgramFile()) + " inside it");
      return;
    case PathKind::Missing:
    case PathKind::Other:
      break;
  }
  findings.error(findings::kBinaryMissing,
                 field + " " + quotePathText(text) + " names no existing file (looked for " +
                     quotePath(*resolved) +
                     "; a relative path counts from the manifest's folder): install the "
                     "program there or correct the path");
}

void checkLaunch(const json& application, const std::string& where,
                 const ManifestContentContext& context, const ISystemRules& rules,
                 FindingList& findings) {
  const std::string binaryKey = rules.BinaryKey();
  const json* launchType = member(application, "launch_type");
  const std::string field = memberPath(where, "launch_type");
  bool binary = false;
  if (launchType == nullptr) {
    findings.warning(findings::kLaunchTypeMissing,
                     where +
                         " has no launch_type, so the runtime does not know how to start it: "
                         "add \"launch_type\": \"binary\" with " +
                         binaryKey);
  } else if (!launchType->is_string()) {
    wrongType(findings, field, *launchType, "\"binary\" or \"url\"");
  } else if (const std::string& type = launchType->get_ref<const std::string&>();
             type == "binary") {
    binary = true;
  } else if (type == "url") {
    const json* url = member(application, "url");
    if (url == nullptr || (url->is_string() && url->get_ref<const std::string&>().empty())) {
      findings.error(findings::kUrlMissing, where +
                                        " has launch_type \"url\" but no url to open: add "
                                        "\"url\", or use launch_type \"binary\"");
    }
  } else {
    findings.error(findings::kLaunchTypeUnknown,
                   field + " is " + quote(type) +
                       "; the runtime starts \"binary\" and \"url\" applications only and skips "
                       "this one: use \"binary\" with " +
                       binaryKey + ", or \"url\" with url");
  }
  // A binary path next to a missing or mistyped launch type is still worth
  // checking: the launch type is then the only thing to fix.
  if (binary || member(application, binaryKey.c_str()) != nullptr) {
    checkBinary(application, where, binary, context, rules, findings);
  }
}

void checkDashboardOverlay(const json& application, const std::string& where,
                           FindingList& findings) {
  constexpr const char* kWhy =
      "; the runtime applies auto-launch only to dashboard overlay applications, so enabling "
      "auto-launch would fail or be ignored: set \"is_dashboard_overlay\": true";
  const std::string field = memberPath(where, "is_dashboard_overlay");
  const json* overlay = member(application, "is_dashboard_overlay");
  if (overlay == nullptr) {
    findings.warning(findings::kDashboardOverlay, where + " has no is_dashboard_overlay" + kWhy);
  } else if (!overlay->is_boolean()) {
    wrongType(findings, field, *overlay, "true or false, without quotes");
  } else if (!overlay->get<bool>()) {
    findings.warning(findings::kDashboardOverlay, field + " is false" + kWhy);
  }
}

void checkStrings(const json& application, const std::string& where, FindingList& findings) {
  const std::string field = memberPath(where, "strings");
  const json* strings = member(application, "strings");
  bool named = false;
  if (strings != nullptr) {
    if (!strings->is_object()) {
      wrongType(findings, field, *strings,
                "an object of languages, such as {\"en_us\": {\"name\": \"Ostrel\"}}");
      return;
    }
    for (const auto& [language, texts] : strings->items()) {
      const std::string languageField = memberPath(field, language);
      if (!texts.is_object()) {
        wrongType(findings, languageField, texts, "an object such as {\"name\": \"Ostrel\"}");
        continue;
      }
      for (const char* key : {"name", "description"}) {
        const json* text = member(texts, key);
        if (text == nullptr) continue;
        if (!text->is_string()) {
          wrongType(findings, memberPath(languageField, key), *text, "a string");
        } else if (std::string_view(key) == "name" &&
                   !text->get_ref<const std::string&>().empty()) {
          named = true;
        }
      }
    }
  }
  if (!named) {
    findings.warning(findings::kNoName, where +
                                    " has no name under \"strings\", so users see no readable "
                                    "name for it: add \"strings\": {\"en_us\": {\"name\": "
                                    "\"...\"}}");
  }
}

void checkApplication(const json& application, const std::string& where,
                      const ManifestContentContext& context, FindingList& findings) {
  const ISystemRules& rules = systemRules(context.system);
  for (const char* key : rules.TextKeys()) {
    const json* value = member(application, key);
    if (value != nullptr && !value->is_string()) {
      wrongType(findings, memberPath(where, key), *value, "a string");
    }
  }
  for (const char* key : kRelativePathKeys) {
    const json* value = member(application, key);
    if (value != nullptr && value->is_string()) {
      rules.CheckRelativePath(memberPath(where, key), value->get_ref<const std::string&>(),
                              findings);
    }
  }
  checkLaunch(application, where, context, rules, findings);
  checkDashboardOverlay(application, where, findings);
  checkStrings(application, where, findings);
}

std::string indexList(const std::vector<std::size_t>& indices) {
  std::vector<std::string> names;
  names.reserve(indices.size());
  for (std::size_t index : indices) names.push_back(elementPath("applications", index));
  return text::shortenedList(std::move(names), kKeysShown);
}

void reportMissingKey(const std::vector<std::string>& keys,
                      const std::optional<std::string>& caseMatch,
                      const ManifestContentContext& context, FindingList& findings) {
  if (keys.empty()) {
    findings.error(findings::kAppKeyMissing,
                   "the manifest lists no application with an app_key: add one to "
                   "\"applications\" with \"app_key\": " +
                       quote(context.appKey));
    return;
  }
  std::string message = "no application in the manifest has app_key " + quote(context.appKey) +
                        "; app keys present: " + quoteList(keys, kKeysShown);
  if (caseMatch) {
    message +=
        "; " + quote(*caseMatch) + " differs only in letter case, and app keys must match exactly";
  }
  message += ": make the manifest's app_key and the key the program registers under the same";
  findings.error(findings::kAppKeyMissing, std::move(message));
}

// The top level's "applications" array, or nullptr with the error that
// makes the runtime load nothing from the manifest.
const json* applicationsArray(const json& root, FindingList& findings) {
  if (!root.is_object()) {
    findings.error(findings::kNotObject, "the manifest's top level is " + typeName(root) +
                                     "; it must be an object such as {\"applications\": [...]}");
    return nullptr;
  }
  if (const json* source = member(root, "source"); source != nullptr && !source->is_string()) {
    wrongType(findings, "source", *source, "a string such as \"builtin\"");
  }
  const json* applications = member(root, "applications");
  if (applications == nullptr) {
    std::vector<std::string> keys;
    for (const auto& item : root.items()) keys.push_back(item.key());
    findings.error(findings::kApplicationsMissing,
                   "the manifest has no \"applications\" array at the top level (keys present: " +
                       quoteList(keys, kKeysShown) +
                       "): put the application's entry in \"applications\": [{...}]");
    return nullptr;
  }
  if (!applications->is_array()) {
    wrongType(findings, "applications", *applications,
              "an array of application objects: \"applications\": [{...}]");
    return nullptr;
  }
  return applications;
}

// The application's string app_key, or nullptr: an entry that is not an
// object, or whose app_key is not a string, is a wrong-type finding; one
// without an app_key is passed over, as the runtime passes it over.
const std::string* appKeyOf(const json& application, const std::string& where,
                            FindingList& findings) {
  if (!application.is_object()) {
    wrongType(findings, where, application, "an object with the application's keys");
    return nullptr;
  }
  const json* key = member(application, "app_key");
  if (key == nullptr) return nullptr;
  if (!key->is_string()) {
    wrongType(findings, memberPath(where, "app_key"), *key, "a string");
    return nullptr;
  }
  return &key->get_ref<const std::string&>();
}

// The name a person sees: en_us's, else the first language's that has one.
std::string displayName(const json& application) {
  const json* strings = member(application, "strings");
  if (strings == nullptr || !strings->is_object()) return {};
  const auto nameIn = [](const json& texts) -> const std::string* {
    if (!texts.is_object()) return nullptr;
    const json* name = member(texts, "name");
    return name != nullptr && name->is_string() ? &name->get_ref<const std::string&>() : nullptr;
  };
  if (const json* english = member(*strings, "en_us"); english != nullptr) {
    if (const std::string* name = nameIn(*english)) return *name;
  }
  for (const auto& [language, texts] : strings->items()) {
    if (const std::string* name = nameIn(texts)) return *name;
  }
  return {};
}

bool isDashboardOverlay(const json& application) {
  const json* overlay = member(application, "is_dashboard_overlay");
  return overlay != nullptr && overlay->is_boolean() && overlay->get<bool>();
}

}  // namespace

void surveyManifestStructure(const json& root, const ManifestContentContext& context,
                             FindingList& whole, ManifestSurvey& survey) {
  const json* applications = applicationsArray(root, whole);
  if (applications == nullptr) {
    survey.refused = true;
    return;
  }
  std::unordered_map<std::string, std::size_t> firstWithKey;  // key -> index in "applications"
  std::size_t passedOver = 0;
  for (std::size_t i = 0; i < applications->size(); ++i) {
    const json& application = (*applications)[i];
    const std::string where = elementPath("applications", i);
    const std::string* key = appKeyOf(application, where, whole);
    if (key == nullptr) continue;
    if (survey.applications.size() == kMaxSurveyedApplications) {
      ++passedOver;
      continue;
    }
    ApplicationSurvey entry;
    entry.index = i;
    entry.appKey = *key;
    entry.name = displayName(application);
    entry.dashboardOverlay = isDashboardOverlay(application);
    FindingList own;
    const auto [first, added] = firstWithKey.try_emplace(*key, i);
    if (!added) {
      own.warning(findings::kAppKeyDuplicate,
                  where + " has app_key " + quote(*key) + " as " +
                      elementPath("applications", first->second) +
                      " has; the runtime keeps only one of them: remove the others");
    } else {
      checkAppKeyText(*key, memberPath(where, "app_key"), "give the application a key", own);
      checkApplication(application, where, context, own);
    }
    entry.findings = std::move(own).take();
    survey.applications.push_back(std::move(entry));
  }
  if (passedOver > 0) {
    whole.warning(findings::kMoreFindings,
                  std::to_string(passedOver) + " more applications after the first " +
                      std::to_string(kMaxSurveyedApplications) +
                      " were not looked at; a manifest declares a few: check that the right "
                      "file is listed");
  }
  if (survey.applications.empty()) {
    whole.error(findings::kAppKeyMissing,
                "the manifest lists no application with an app_key, so the runtime lists "
                "nothing from it: add the application's entry to \"applications\", or "
                "unregister the manifest");
  }
}

void checkManifestStructure(const json& root, const ManifestContentContext& context,
                            FindingList& findings) {
  const json* applications = applicationsArray(root, findings);
  if (applications == nullptr) return;

  std::vector<std::string> keys;
  std::vector<std::size_t> matches;
  std::optional<std::string> caseMatch;
  for (std::size_t i = 0; i < applications->size(); ++i) {
    const std::string* key =
        appKeyOf((*applications)[i], elementPath("applications", i), findings);
    if (key == nullptr) continue;
    const std::string& text = *key;
    keys.push_back(text);
    if (text == context.appKey) {
      matches.push_back(i);
    } else if (!caseMatch && equalIgnoringAsciiCase(text, context.appKey)) {
      caseMatch = text;
    }
  }

  if (matches.empty()) {
    reportMissingKey(keys, caseMatch, context, findings);
    // Adding the key to the manifest would not help when the key itself is
    // one the runtime refuses.
    checkAppKeyText(context.appKey, "the key the program registers under", "register under a key",
                    findings);
    return;
  }
  checkAppKeyText(context.appKey,
                  memberPath(elementPath("applications", matches.front()), "app_key"),
                  "give the application a key", findings);
  if (matches.size() > 1) {
    findings.warning(findings::kAppKeyDuplicate,
                     std::to_string(matches.size()) + " applications have app_key " +
                         quote(context.appKey) + " (" + indexList(matches) +
                         "); the runtime keeps only one of them: remove the others");
  }
  checkApplication((*applications)[matches.front()], elementPath("applications", matches.front()),
                   context, findings);
}

std::vector<ManifestFinding> checkAppKey(std::string_view appKey) {
  FindingList findings;
  checkAppKeyText(std::string(appKey), "the application key", "use a key", findings);
  return std::move(findings).take();
}

}  // namespace ostrel::manifestcheck
