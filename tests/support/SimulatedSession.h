#pragma once

#include "ModuleSimulator.h"
#include "ScriptedDialogs.h"
#include "uMain.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The real window with the real port, talking to the simulator on a
// pseudo-terminal that the settings file maps to "COM 4" and selects.
struct SimulatedSession {
    QTemporaryDir dir;
    ModuleSimulator sim;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    // A half-duplex probe, as the infrared ones are: a frame sent while the module answers is lost.
    bool startSimulator()
    {
        sim.setHalfDuplex(true);
        return sim.start();
    }

    void openWindow()
    {
        QFile ini(dir.filePath("QOVMS.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[PORTS]\r\nCOM4=" + sim.slavePath().toLocal8Bit() + "\r\n[MAIN]\r\nComPort='COM 4'\r\n");
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
