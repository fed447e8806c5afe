#pragma once

class QCoreApplication;

// What both programs say of themselves, without a window.
namespace ProgramInfo {

// The program's name and version ("02.01", as in the caption).
void setNames();
// Qt's own texts (file dialogs, the edits' menu, the buttons of message boxes,
// the command line's help) in Polish: Qt's translation where Qt is installed,
// else the one shipped in "translations" beside the program. False when
// neither is there.
bool loadQtTranslation(QCoreApplication &app);

} // namespace ProgramInfo
