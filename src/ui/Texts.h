#pragma once

#include <QString>

// Texts the program shows in more than one place.
namespace Texts {
// The main window's caption, also the caption of its message boxes.
inline const QString ProgramName = QStringLiteral("Konfigurator TC-8");
// A password longer than one request can carry.
inline const QString PasswordTooLong = QStringLiteral("Hasło jest za długie");
} // namespace Texts
