#pragma once

namespace platform {

// Whether the standard streams are attached to a terminal.
bool stdinIsTerminal();
bool stdoutIsTerminal();

} // namespace platform
