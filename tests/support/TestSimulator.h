#pragma once

#include "ModuleModel.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <memory>

// The module simulator as the end-to-end tests use it. On Linux it runs in the
// test's own process on a pseudo-terminal; a Windows test under Wine drives the
// Linux simulator through its control port (VESKOR_MODSIM_CONTROL), behind the
// pseudo-terminal that Wine maps to COM9. Either way the test asks the same.
class TestSimulator : public QObject {
    Q_OBJECT
public:
    using Family = ModuleModel::Family;
    struct Frame {
        bool received; // from the program
        QByteArray bytes;
        double ms = 0;
        bool lost = false;
    };

    TestSimulator();
    ~TestSimulator() override;

    // A fresh module, as a test starts with.
    bool start(QString *error = nullptr);
    // The port number the window opens it by, and the settings-file line that maps it ("" where the system does).
    int comNumber() const;
    QByteArray portsLine() const;

    void setIdentity(Family family, const QByteArray &version);
    // The model of the identity set (its book and rights); the registers live in the simulator.
    const ModuleModel &model() const { return m_model; }
    void setEcho(bool on);
    void setHalfDuplex(bool on);
    void setBaudRate(int baud);
    void setAdapterLatency(int ms); // a USB adapter holding what the module sends
    void setSplit(int pieceSize, int gapMs);
    void setNoise(const QByteArray &bytes);
    void setSilentAfter(int requests);
    void setHangUpAfter(int requests);
    void answerWithPrevious(const QByteArray &code);
    void setStoreDifferently(const QByteArray &writeCode);
    // Another module behind the same probe: its serial number (G00), say.
    void setRegister(const QByteArray &readCode, const QByteArray &payload);
    void inject(const QByteArray &bytes);
    void hangUp();

    QList<QByteArray> requestCodes() const;
    QList<Frame> log() const;
    void clearLog();
    QByteArray reg(const QByteArray &readCode) const;
    int pendingOutput() const;
    int lostRequests() const;

signals:
    void answered(const QByteArray &code);

private:
    struct Backend;
    std::unique_ptr<Backend> m_backend;
    ModuleModel m_model;
};
