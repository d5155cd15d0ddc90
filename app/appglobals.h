#pragma once
#include <QString>
#include <atomic>

// The program's version, shown by the About box.
inline QString ProgramVersion;

// The error handler is closing the program; the close asks nothing.
inline std::atomic<bool> ClosingOnError{false};

// Sonvera's home page and support address, opened by the About box, the
// "web" skin button and "Web site".
inline const QString HomePageAddress = QStringLiteral("https://sonvera.example/");
inline const QString SupportMailAddress = QStringLiteral("support@sonvera.example");
