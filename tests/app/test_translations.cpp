#include "app/Translations.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(Translations, QtStandardTextsSpeakPolish) {
    ASSERT_TRUE(InstallPolishQtTranslations(*QCoreApplication::instance()));
    // The label of the standard "Cancel" button, as Qt's file dialogs show it.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
}
