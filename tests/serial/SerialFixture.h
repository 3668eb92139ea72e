#pragma once

#include "PortsFolder.h"
#include "PtyPair.h"
#include "SerialTestApp.h"
#include "WaitFor.h"
#include "serial/TRsComm.h"

#include <QDir>
#include <gtest/gtest.h>

// One component set up as the program sets it (COM1, 4800 bit/s), COM1 leading to the slave
// of a fresh pseudo-terminal pair, and the errors that reached the event loop collected.
class SerialFixture : public testing::Test {
protected:
    SerialFixture() {
        ports.Link(1, pty.SlavePath());
        comm.SetPortNum(1);
        comm.SetBaudrate(br4800);
        TSerialTestApp::Instance().TakeErrors();
    }

    ~SerialFixture() override {
        comm.Close();
        // Queued calls of this test must not reach the next one.
        QCoreApplication::processEvents();
        TSerialTestApp::Instance().TakeErrors();
    }

    static int OpenDescriptors() {
        return static_cast<int>(
            QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
    }

    TPortsFolder ports;
    TPtyPair pty;
    TRsComm comm;
};

// EXPECT_THROW that also checks the message.
#define EXPECT_THROW_TEXT(statement, type, text)                                                   \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no exception from " #statement;                                      \
        } catch (const type& error) {                                                              \
            EXPECT_EQ(error.Message, QString::fromUtf8(text));                                     \
        }                                                                                          \
    } while (false)
