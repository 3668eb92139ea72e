#pragma once

class QCoreApplication;

// Installs Qt's own Polish translations (file dialogs, standard buttons), so that every
// text of the program speaks Polish. False when they are not installed on this machine.
bool InstallPolishQtTranslations(QCoreApplication& app);
