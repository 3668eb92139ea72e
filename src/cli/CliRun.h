#pragma once

#include <QStringList>

// Runs tc8-cli with its arguments (without the program's name) and gives its exit code.
int RunCli(const QStringList& arguments);
