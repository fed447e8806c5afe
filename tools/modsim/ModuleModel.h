#pragma once

#include "TUstawienie.h"

#include <QByteArray>
#include <QMap>

// What a telemetry module holds and how it answers one request, with no line
// and no timing: the registers, its identity, and the answer to each frame.
class ModuleModel {
public:
    enum class Family { MKV, RW5GSM, RW5SMS };

    ModuleModel();

    // Identity. The version text may carry the trailing "l" of latched modules.
    void setIdentity(Family family, const QByteArray &versionText);
    // Replaces the whole identification payload (between "(" and ")"), for odd answers.
    void setIdentificationPayload(const QByteArray &payload) { m_identOverride = payload; }
    QByteArray identificationPayload() const;
    int maxNumbers() const;
    bool hasExtendedBook() const;

    // Registers hold the payload a read answer carries, by read code ("G30").
    QByteArray reg(const QByteArray &readCode) const { return m_registers.value(readCode); }
    void setRegister(const QByteArray &readCode, const QByteArray &payload) { m_registers[readCode] = payload; }
    const QMap<QByteArray, QByteArray> &registers() const { return m_registers; }
    void loadSampleRegisters();
    // The registers as a module holding this configuration would answer them.
    void loadConfiguration(const TUstawienie &config);
    // What the registers hold, read back as the program would read them.
    TUstawienie configuration() const;

    // A write of this code is stored altered, so that a verification fails.
    void setStoreDifferently(const QByteArray &writeCode) { m_storeDifferently = writeCode; }

    // The answer to a request: a read answer, ACK for a write, or nothing for a
    // code the module does not have. A write changes the registers.
    QByteArray answer(const QByteArray &code, bool isWrite, const QByteArray &payload);

    // Splits a complete request frame into its parts; false for anything else.
    static bool parseRequest(const QByteArray &frame, QByteArray *code, bool *isWrite, QByteArray *payload);

private:
    Family m_family = Family::MKV;
    QByteArray m_version = "02.00l";
    QByteArray m_identOverride;
    QMap<QByteArray, QByteArray> m_registers;
    QByteArray m_storeDifferently;
};
