#pragma once

#include <cstdio>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace qor::tools {

// Standard input and output carry bytes unchanged (no CR LF translation on Windows), so both
// builds print exactly the same bytes.
inline void UseBinaryStdio() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace qor::tools
