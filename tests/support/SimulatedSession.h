#pragma once

#include "ScriptedDialogs.h"
#include "TestSimulator.h"
#include "uMain.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The real window with the real port, talking to the simulator on a
// pseudo-terminal that the settings file maps to a COM number (Wine: COM9) and selects.
struct SimulatedSession {
    QTemporaryDir dir;
    TestSimulator sim;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    // A half-duplex probe, as the infrared ones are: a frame sent while the module answers is lost.
    bool startSimulator()
    {
        if (!sim.start())
            return false;
        sim.setHalfDuplex(true);
        return true;
    }

    void openWindow()
    {
        QFile ini(dir.filePath("QOVMS.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[PORTS]\r\n" + sim.portsLine() + "\r\n[MAIN]\r\nComPort='COM " +
                      QByteArray::number(sim.comNumber()) + "'\r\n");
        ini.close();
        form = std::make_unique<TMainForm>(ProgramFolders::beside(dir.path()), &dialogs);
        form->show();
    }

    template <typename T = QWidget> T *c(const char *name) { return form->findChild<T *>(QLatin1String(name)); }
    void click(const char *button) { QTest::mouseClick(c<QPushButton>(button), Qt::LeftButton); }

    // Presses "Otwórz port"; true once the module has been identified.
    bool connectModule(int timeoutMs = 5000)
    {
        QSignalSpy identified(form->engine(), &LinkEngine::identified);
        click("BitBtnPolacz");
        return identified.count() > 0 || identified.wait(timeoutMs);
    }
};
