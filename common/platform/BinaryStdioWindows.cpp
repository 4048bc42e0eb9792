// Linked into the console programs on Windows only. Their output is a
// byte-exact contract ("\n"-terminated lines), but the C runtime opens the
// standard streams in text mode and would write "\r\n". This switches them to
// binary before main runs; the C runtime has set them up by then.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace {

const bool standardStreamsAreBinary = [] {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return true;
}();

}  // namespace
