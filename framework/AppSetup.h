#pragma once

class QCoreApplication;
class QString;

// Loads Qt's own German texts (standard buttons, dialogs) into app; false when they are not
// installed, and the program goes on with Qt's English ones.
bool LoadGermanQtTranslations(QCoreApplication& app);

// The set-up both programs share: organisation, program name and version (settings and
// message titles follow them) and Qt's German texts.
void SetUpApplication(QCoreApplication& app, const QString& program, const QString& version);
