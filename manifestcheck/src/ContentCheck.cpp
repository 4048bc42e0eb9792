#include "ContentCheck.h"

#include <optional>
#include <string>

#include "JsonParse.h"
#include "ManifestStructure.h"
#include "TextScan.h"
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kSaveAsUtf8 = "save it as UTF-8 without BOM";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool isJsonWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string hexByte(unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0x0F];
}

}  // namespace

std::optional<nlohmann::json> readManifestJson(std::string_view content, FindingList& findings) {
  if (content.size() > kManifestSizeLimit) {
    findings.error(findings::kFileTooLarge,
                   "the manifest is larger than " + std::to_string(kManifestSizeLimit) +
                       " bytes (1 MiB), the most this check reads, and was not checked; a "
                       "manifest takes a few hundred bytes: check that the right file is named");
    return std::nullopt;
  }
  if (startsWith(content, "\xFF\xFE") || startsWith(content, "\xFE\xFF")) {
    findings.error(findings::kUtf16,
                   "the manifest is saved as UTF-16 (it starts with a UTF-16 byte-order "
                   "mark), and the runtime reads UTF-8 only: " +
                       std::string(kSaveAsUtf8));
    return std::nullopt;
  }

  std::string_view text = content;
  if (startsWith(text, kUtf8Bom)) {
    findings.error(findings::kBom,
                   "the manifest starts with a UTF-8 byte-order mark (EF BB BF), and the "
                   "runtime does not load such a manifest: " +
                       std::string(kSaveAsUtf8));
    text.remove_prefix(kUtf8Bom.size());
  }

  bool blank = true;
  for (char c : text) {
    if (!isJsonWhitespace(c)) {
      blank = false;
      break;
    }
  }
  if (blank) {
    findings.error(findings::kEmpty,
                   "the manifest is empty; it must hold a JSON object such as "
                   "{\"applications\": [{\"app_key\": \"...\", ...}]}");
    return std::nullopt;
  }

  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    std::string message = "the manifest contains a NUL byte at " + describePosition(text, nul) +
                          ", which no text manifest holds";
    // Every other byte NUL near the start is the mark of UTF-16 without a
    // byte-order mark, which some editors and PowerShell write.
    if (nul <= 1) message += " (the file looks UTF-16 encoded)";
    message += ": " + std::string(kSaveAsUtf8);
    findings.error(findings::kNulByte, std::move(message));
    return std::nullopt;
  }
  if (const std::optional<std::size_t> bad = firstInvalidUtf8(text)) {
    findings.error(findings::kInvalidUtf8,
                   "the manifest is not valid UTF-8: byte " +
                       hexByte(static_cast<unsigned char>(text[*bad])) + " at " +
                       describePosition(text, *bad) +
                       " (an editor using a legacy code page writes such bytes for accented "
                       "letters): " +
                       std::string(kSaveAsUtf8));
    return std::nullopt;
  }
  if (const std::optional<std::size_t> deep = firstBracketDeeperThan(text, kManifestDepthLimit)) {
    findings.error(findings::kTooDeep, "arrays and objects nest deeper than " +
                                   std::to_string(kManifestDepthLimit) + " levels at " +
                                   describePosition(text, *deep) +
                                   ", and a manifest needs 4; the file was not checked further: "
                                   "check that the right file is named");
    return std::nullopt;
  }

  return parseManifestJson(text, findings);
}

void checkContent(std::string_view content, const ManifestContentContext& context,
                  FindingList& findings) {
  const std::optional<nlohmann::json> root = readManifestJson(content, findings);
  if (!root) return;
  checkManifestStructure(*root, context, findings);
}

}  // namespace ostrel::manifestcheck
