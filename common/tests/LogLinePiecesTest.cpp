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

// Each piece costs a write on an unbuffered standard error, and only a single
// write reaches a shared pipe or log file whole: the stamp, level, message and
// newline go out as one piece, then the line's single flush.
TEST(LogLinePieces, ALineIsOnePieceAndOneFlush) {
  PieceRecorder recorder;
  std::ostream out(&recorder);
  const std::string message = "manifest registered + auto-launch enabled: vantorell.ostrel";
  writeLogLine(out, {9, 5, 7, 42}, LogLevel::Info, message);

  EXPECT_EQ(recorder.events_,
            "[09:05:07.042] [INFO] manifest registered + auto-launch enabled: vantorell.ostrel\n|");
  ASSERT_EQ(recorder.pieces_.size(), 1u);
  EXPECT_NE(recorder.pieces_[0].data, nullptr);
}

TEST(LogLinePieces, OnAUnitBufferedStreamStillOnePiece) {
  PieceRecorder recorder;
  std::ostream out(&recorder);
  out.setf(std::ios_base::unitbuf);  // as std::cerr is
  writeLogLine(out, {23, 59, 60, 999}, static_cast<LogLevel>(9), "");
  ASSERT_EQ(recorder.pieces_.size(), 1u);
  EXPECT_EQ(recorder.pieces_[0].text, "[23:59:60.999] [UNKNOWN] \n");
  EXPECT_EQ(recorder.events_.back(), '|');
}

// Lines of every length are one piece: those that fit the logger's stack
// buffer and those that need the heap, with a message full of NUL bytes and
// line breaks passed on byte for byte.
TEST(LogLinePieces, ShortAndLongLinesAreOnePieceEach) {
  const std::string prefix = "[01:02:03.004] [WARN] ";
  for (const std::size_t size : {0u, 1u, 900u, 1000u, 1001u, 1002u, 1100u, 4000u, 70000u}) {
    std::string message(size, 'x');
    for (std::size_t i = 0; i < size; i += 7) message[i] = static_cast<char>(i % 3 == 0 ? '\0' : '\n');
    PieceRecorder recorder;
    std::ostream out(&recorder);
    writeLogLine(out, {1, 2, 3, 4}, LogLevel::Warn, message);
    ASSERT_EQ(recorder.pieces_.size(), 1u) << size;
    EXPECT_EQ(recorder.pieces_[0].text, prefix + message + "\n") << size;
    EXPECT_EQ(recorder.events_, prefix + message + "\n|") << size;
  }
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
// bracket, with the caller's fill and on the side its adjustment asks for;
// the line keeps doing so, inside its one piece.
TEST(LogLinePieces, APendingWidthPadsTheOpeningBracket) {
  struct Case {
    std::streamsize width;
    std::ios_base::fmtflags adjust;
    const char* expected;
  };
  const Case cases[] = {
      {4, std::ios_base::fmtflags(), "***[01:02:03.004] [INFO] m\n"},
      {4, std::ios_base::right, "***[01:02:03.004] [INFO] m\n"},
      {4, std::ios_base::internal, "***[01:02:03.004] [INFO] m\n"},
      {4, std::ios_base::left, "[***01:02:03.004] [INFO] m\n"},
      {2, std::ios_base::left, "[*01:02:03.004] [INFO] m\n"},
      {1, std::ios_base::fmtflags(), "[01:02:03.004] [INFO] m\n"},
      {-3, std::ios_base::fmtflags(), "[01:02:03.004] [INFO] m\n"},
      {1200, std::ios_base::fmtflags(), nullptr},  // more padding than the stack buffer holds
  };
  for (const Case& c : cases) {
    // What the stream itself does with the bracket, for the expectation.
    std::ostringstream reference;
    reference.fill('*');
    reference.setf(c.adjust, std::ios_base::adjustfield);
    reference.width(c.width);
    reference << '[';
    const std::string expected = c.expected != nullptr
                                     ? std::string(c.expected)
                                     : reference.str() + "01:02:03.004] [INFO] m\n";
    EXPECT_EQ(expected.substr(0, reference.str().size()), reference.str()) << c.width;

    PieceRecorder recorder;
    std::ostream out(&recorder);
    out.fill('*');
    out.setf(c.adjust, std::ios_base::adjustfield);
    out.width(c.width);
    writeLogLine(out, {1, 2, 3, 4}, LogLevel::Info, "m");
    ASSERT_EQ(recorder.pieces_.size(), 1u) << c.width;
    EXPECT_EQ(recorder.pieces_[0].text, expected) << c.width;
    EXPECT_EQ(out.width(), 0) << c.width;
    EXPECT_EQ(out.fill(), '0') << c.width;
  }

  std::ostringstream one;
  one.width(1);
  writeLogLine(one, {1, 2, 3, 4}, LogLevel::Info, "");
  one << std::string_view();
  EXPECT_EQ(one.str(), "[01:02:03.004] [INFO] \n");
}

}  // namespace
}  // namespace ostrel::common
