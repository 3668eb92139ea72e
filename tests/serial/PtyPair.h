#pragma once

#include <QByteArray>
#include <QString>
#include <termios.h>

// A pseudo-terminal pair: the component opens the slave by its path, the test plays the
// other end on the master. The test keeps its own slave descriptor open so that the master
// never reads EIO merely because no one has the slave open.
class TPtyPair {
public:
    TPtyPair();
    ~TPtyPair();
    TPtyPair(const TPtyPair&) = delete;
    TPtyPair& operator=(const TPtyPair&) = delete;

    QString SlavePath() const { return slavePath_; }
    int Master() const { return master_; }
    int Slave() const { return slave_; }

    // Writes every byte to the master, waiting for room as needed.
    void Send(const QByteArray& bytes);
    // What the component sent so far (non-blocking).
    QByteArray ReadAvailable();
    // Bytes waiting in the slave's input queue (sent, not yet read by the component).
    int SlaveInQueue() const;
    // Blocks (without pumping events) until received bytes wait on the slave side.
    bool WaitSlaveReadable(int timeoutMs) const;
    termios SlaveAttributes() const;
    // The other end goes away.
    void CloseMaster();
    void CloseSlave();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};
