// Linked into the console programs on Windows only.
//
// Their output is a byte-exact contract ("\n"-terminated lines), but the C
// runtime opens the standard streams in text mode and would write "\r\n".
// This switches them to binary before main runs; the C runtime has set them
// up by then.
//
// It also gives std::cerr a stream buffer that hands each piece it receives
// to the system in one WriteFile. std::cerr otherwise passes its pieces to
// the C runtime's fwrite on stderr, and msvcrt may split one piece into
// several writes: a byte at a time to a console, buffer-sized chunks to a
// pipe or file. The console logger hands over a whole line as one piece, and
// only a single write keeps that line whole in a pipe or log file that other
// processes share, as an unbuffered standard error does on POSIX.
// Beside this file: the programs that link it need not see the platform layer.
#include "WindowsHeaders.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <iostream>
#include <new>
#include <streambuf>

namespace {

class StandardErrorBuffer final : public std::streambuf {
 protected:
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    return writeWhole(data, count);
  }

  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return writeWhole(&byte, 1) == 1 ? c : traits_type::eof();
  }

  // Nothing is held here; what the C runtime holds for stderr goes out.
  int sync() override { return fflush(stderr) == 0 ? 0 : -1; }

 private:
  // Returns how many bytes reached the handle; fewer than `count` makes the
  // stream fail, as a failed fwrite did.
  static std::streamsize writeWhole(const char* data, std::streamsize count) {
    // Output the C runtime still holds for stderr was written first.
    fflush(stderr);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stderr)));
    if (handle == INVALID_HANDLE_VALUE) return 0;
    std::streamsize done = 0;
    while (done < count) {
      // A blocking handle takes everything in one call; the loop is for a
      // piece beyond what one call can carry.
      const std::streamsize left = count - done;
      const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
      DWORD written = 0;
      if (!WriteFile(handle, data + done, chunk, &written, nullptr) || written == 0) break;
      done += written;
    }
    return done;
  }
};

// Never destroyed: std::cerr is flushed during exit processing, after
// ordinary static objects may already be gone.
alignas(StandardErrorBuffer) unsigned char standardErrorStorage[sizeof(StandardErrorBuffer)];

const bool standardStreamsAreSetUp = [] {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // This unit includes <iostream>, so the standard streams exist by now.
  std::cerr.rdbuf(new (standardErrorStorage) StandardErrorBuffer);
  return true;
}();

}  // namespace
