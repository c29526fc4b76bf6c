#pragma once
// The interface is Russian whatever the environment (a desktop started with LANG=C.UTF-8
// included): every widget takes the Russian locale by default (calendars, date and number
// editors), and Qt's own texts (standard buttons, the file dialog) come from its Russian
// translation when it is installed.
class QCoreApplication;

void installRussianInterface(QCoreApplication& app);
