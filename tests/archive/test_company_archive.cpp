// The company archive against a real PostgreSQL server of the test's own (Unix socket only).
#include "PostgresServer.h"
#include "archive/CompanyArchive.h"

#include <gtest/gtest.h>

class CompanyArchive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
        ASSERT_TRUE(server.Sql(QStringLiteral("CREATE DATABASE firma")));
    }
    TPostgresServer server;
};

TEST_F(CompanyArchive, IsSetUpOnceOnAnEmptyDatabaseAndKeepsItsIdentity) {
    TCompanyArchive before(server.Uri(QStringLiteral("firma")));
    EXPECT_FALSE(before.Open());
    EXPECT_EQ(before.Problem(),
              QStringLiteral("archiwum firmy nie jest założone (tc8-cli archive init)"));

    TCompanyArchive archive(server.Uri(QStringLiteral("firma")));
    ASSERT_TRUE(archive.Init()) << archive.Problem().toStdString();
    EXPECT_FALSE(archive.Id().isNull());
    TCompanyArchive again(server.Uri(QStringLiteral("firma")));
    ASSERT_TRUE(again.Init()) << again.Problem().toStdString();
    EXPECT_EQ(again.Id(), archive.Id());
}

TEST_F(CompanyArchive, OfANewerProgramIsRefusedAndLeftAlone) {
    TCompanyArchive archive(server.Uri(QStringLiteral("firma")));
    ASSERT_TRUE(archive.Init()) << archive.Problem().toStdString();
    ASSERT_TRUE(
        server.Sql(QStringLiteral("UPDATE tc8.archive SET version = 99"), QStringLiteral("firma")));
    TCompanyArchive older(server.Uri(QStringLiteral("firma")));
    EXPECT_FALSE(older.Init());
    EXPECT_EQ(older.Problem(), QStringLiteral("archiwum firmy pochodzi z nowszej wersji programu"));
}

TEST_F(CompanyArchive, AServerOutOfReachIsSaidInPolish) {
    TCompanyArchive archive(QStringLiteral("postgresql://postgres@/firma?host=/nonexistent"));
    EXPECT_FALSE(archive.Open());
    EXPECT_TRUE(
        archive.Problem().startsWith(QStringLiteral("nie można połączyć się z archiwum firmy: ")))
        << archive.Problem().toStdString();
}

TEST(CompanyConnectionString, TakesAUriApartAndRefusesAPassword) {
    struct Row {
        const char* Target;
        const char* Expected; // empty: refused
    };
    for (const Row& row : {
             Row{"postgresql://tech@db.firma.pl:5433/archiwum?sslmode=require",
                 "host='db.firma.pl' port='5433' user='tech' dbname='archiwum' sslmode='require'"},
             Row{"postgresql://tech@/archiwum?host=/run/pg%20sock",
                 "user='tech' dbname='archiwum' host='/run/pg sock'"},
             Row{"service=firma", "service=firma"},
             Row{"postgresql://tech:tajne@db/archiwum", ""},
             Row{"postgresql://tech@db/archiwum?password=tajne", ""},
             Row{"firma", ""},
         }) {
        QString problem;
        EXPECT_EQ(CompanyConnectionString(QString::fromUtf8(row.Target), &problem),
                  QString::fromUtf8(row.Expected))
            << row.Target;
        EXPECT_EQ(problem.isEmpty(), *row.Expected != '\0') << row.Target;
    }
}
