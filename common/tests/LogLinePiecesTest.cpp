#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "LogLine.h"

namespace ostrel::common {
namespace {

// A stream buffer without a put area, so that every piece the stream hands it
// arrives on its own, as each reaches the system through std::cerr's
// unbuffered standard error.
class PieceRecorder final : public std::streambuf {
 public:
  struct Piece {
    const char* data;  // null for a single character handed over by value
    std::string text;
  };

  std::vector<Piece> pieces_;
  std::string events_;  // the text, with '|' where the stream flushed

 protected:
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    pieces_.push_back({data, std::string(data, static_cast<std::size_t>(count))});
    events_.append(data, static_cast<std::size_t>(count));
    return count;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pieces_.push_back({nullptr, std::string(1, traits_type::to_char_type(c))});
    events_.push_back(traits_type::to_char_type(c));
    return c;
  }
  int sync() override {
    events_.push_back('|');
    return 0;
  }
};

// Each piece costs a write on an unbuffered standard error: the stamp and
// level go out as one, the message as the caller's own bytes, then the end of
// the line and a single flush.
TEST(LogLinePieces, ALineIsThreePiecesAndOneFlush) {
  PieceRecorder recorder;
  std::ostream out(&recorder);
  const std::string message = "manifest registered + auto-launch enabled: vantorell.ostrel";
  writeLogLine(out, {9, 5, 7, 42}, LogLevel::Info, message);

  EXPECT_EQ(recorder.events_,
            "[09:05:07.042] [INFO] manifest registered + auto-launch enabled: vantorell.ostrel\n|");
  EXPECT_LE(recorder.pieces_.size(), 3u);
  int fromCaller = 0;
  for (const PieceRecorder::Piece& piece : recorder.pieces_) {
    if (piece.data == message.data() && piece.text == message) ++fromCaller;
  }
  EXPECT_EQ(fromCaller, 1) << "the message should go out uncopied, in one piece";
}

TEST(LogLinePieces, OnAUnitBufferedStreamStillOneLineOfThreePieces) {
  PieceRecorder recorder;
  std::ostream out(&recorder);
  out.setf(std::ios_base::unitbuf);  // as std::cerr is
  writeLogLine(out, {23, 59, 60, 999}, static_cast<LogLevel>(9), "");
  EXPECT_LE(recorder.pieces_.size(), 3u);
  EXPECT_EQ(recorder.events_.back(), '|');
  std::string text;
  for (const PieceRecorder::Piece& piece : recorder.pieces_) text += piece.text;
  EXPECT_EQ(text, "[23:59:60.999] [UNKNOWN] \n");
}

// Out-of-range fields are printed as the stream prints a padded int: the sign
// counts towards the width, the zeros go before it.
TEST(LogLinePieces, FieldsOutsideTheirRangeArePrintedInFull) {
  std::ostringstream out;
  writeLogLine(out, {-1, 123, -45, 1000}, LogLevel::Warn, "m");
  EXPECT_EQ(out.str(), "[-1:123:-45.1000] [WARN] m\n");
  std::ostringstream wide;
  writeLogLine(wide, {2147483647, -2147483647 - 1, 0, -7}, LogLevel::Debug, "m");
  EXPECT_EQ(wide.str(), "[2147483647:-2147483648:00.0-7] [DEBUG] m\n");
}

// A width the caller left pending on the stream has always padded the opening
// bracket, with the caller's fill; the line keeps doing so.
TEST(LogLinePieces, APendingWidthPadsTheOpeningBracket) {
  std::ostringstream out;
  out.fill('*');
  out.width(4);
  writeLogLine(out, {1, 2, 3, 4}, LogLevel::Info, "m");
  EXPECT_EQ(out.str(), "***[01:02:03.004] [INFO] m\n");
  EXPECT_EQ(out.width(), 0);
  EXPECT_EQ(out.fill(), '0');

  std::ostringstream one;
  one.width(1);
  writeLogLine(one, {1, 2, 3, 4}, LogLevel::Info, "");
  one << std::string_view();
  EXPECT_EQ(one.str(), "[01:02:03.004] [INFO] \n");
}

}  // namespace
}  // namespace ostrel::common
