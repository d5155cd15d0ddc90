#include "platform/console.h"

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
#define SONVERA_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define SONVERA_ISATTY(fd) isatty(fd)
#endif

namespace platform {

bool stdinIsTerminal()
{
    return SONVERA_ISATTY(0) != 0;
}

bool stdoutIsTerminal()
{
    return SONVERA_ISATTY(1) != 0;
}

} // namespace platform
