// Several processes logging into one pipe, as installers run ostrel-register
// with standard error captured into a pipe or log file that other processes
// share. Only a line that reaches the pipe in one write arrives whole: a
// pipe keeps each write of up to PIPE_BUF bytes together, but nothing keeps
// two writes of one process together while other processes write too.
#include <gtest/gtest.h>

#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"

namespace ostrel::common {
namespace {

constexpr int kWriters = 4;
constexpr int kLinesPerWriter = 300;
// "[HH:MM:SS.mmm] [INFO] " and the newline.
constexpr std::size_t kLineOverhead = 22 + 1;

// Message sizes, in turn: short lines, one longer than a stdio buffer's
// usual 1 KiB (and than the logger's stack buffer), and lines of exactly
// PIPE_BUF bytes, the longest a pipe delivers whole.
std::size_t messageSize(int line) {
  constexpr std::size_t kSizes[] = {40, PIPE_BUF - kLineOverhead, 1500, 90,
                                    PIPE_BUF - kLineOverhead};
  return kSizes[static_cast<std::size_t>(line) % (sizeof kSizes / sizeof kSizes[0])];
}

// "w<writer> n<line> " padded with the writer's letter to its size, so a
// line that lost or gained bytes from another process cannot pass.
std::string messageFor(int writer, int line) {
  std::string message = "w" + std::to_string(writer) + " n" + std::to_string(line) + " ";
  message.resize(messageSize(line), static_cast<char>('a' + writer));
  return message;
}

// The child's whole life: wait for the start signal, log, leave without
// running the parent's exit processing or test teardown.
[[noreturn]] void runWriter(int writer, int pipeWrite, int startRead) {
  if (dup2(pipeWrite, STDERR_FILENO) < 0) _exit(2);
  close(pipeWrite);
  char ignored;
  while (read(startRead, &ignored, 1) < 0 && errno == EINTR) {
  }
  close(startRead);
  for (int line = 0; line < kLinesPerWriter; ++line) {
    // The registrar's way: a message built by logMessage, written by the
    // process's console logger to std::cerr.
    logMessage(LogLevel::Info, messageFor(writer, line));
  }
  _exit(0);
}

TEST(ConsoleLoggerPipe, LinesFromManyProcessesArriveWhole) {
  ASSERT_NE(dynamic_cast<ConsoleLogger*>(processLogger.get()), nullptr);
  int lines[2];
  int start[2];
  ASSERT_EQ(pipe(lines), 0);
  ASSERT_EQ(pipe(start), 0);

  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t child = fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
      close(lines[0]);
      close(start[1]);
      runWriter(writer, lines[1], start[0]);
    }
    children.push_back(child);
  }
  close(lines[1]);
  close(start[0]);
  // Release every writer at once, and let the pipe fill so that they queue
  // on it: each wake-up is a chance for another process's write to land
  // between two writes of one line.
  close(start[1]);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));

  std::string received;
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(lines[0], chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    ASSERT_GE(got, 0) << "read failed";
    if (got == 0) break;
    received.append(chunk, static_cast<std::size_t>(got));
    // A slow reader keeps the writers queued on a full pipe.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  close(lines[0]);
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
  }

  const std::regex stamp(R"(\[\d\d:\d\d:\d\d\.\d{3}\] \[INFO\] )");
  const std::regex head(R"(w(\d) n(\d+) )");
  int next[kWriters] = {};
  int torn = 0;
  int outOfOrder = 0;
  int total = 0;
  std::size_t lineStart = 0;
  while (lineStart < received.size()) {
    std::size_t end = received.find('\n', lineStart);
    if (end == std::string::npos) end = received.size();
    const std::string line = received.substr(lineStart, end - lineStart);
    lineStart = end + 1;
    ++total;
    std::smatch match;
    const bool stamped = line.size() > 22 && std::regex_match(line.substr(0, 22), stamp);
    const std::string message = stamped ? line.substr(22) : std::string();
    if (!stamped || !std::regex_search(message, match, head,
                                       std::regex_constants::match_continuous)) {
      ++torn;
      continue;
    }
    const int writer = std::stoi(match[1]);
    const int number = std::stoi(match[2]);
    if (writer >= kWriters || message != messageFor(writer, number)) {
      ++torn;
      continue;
    }
    // Each process's own lines keep their order.
    if (number != next[writer]) ++outOfOrder;
    next[writer] = number + 1;
  }
  EXPECT_EQ(torn, 0) << "of " << total << " lines read back";
  EXPECT_EQ(outOfOrder, 0);
  EXPECT_EQ(total, kWriters * kLinesPerWriter);
  for (int writer = 0; writer < kWriters; ++writer) {
    EXPECT_EQ(next[writer], kLinesPerWriter) << "writer " << writer;
  }
}

}  // namespace
}  // namespace ostrel::common
