// "Excel.Application" on LibreOffice: a private, invisible LibreOffice process
// (no restore, no first-start wizard) driven through UNO, with the
// application, workbook and cell members the menu exports use.
//
// Starting LibreOffice is most of an export's time, so one server serves the
// whole run: a creation while an earlier creation's objects are still held
// (the window keeps the last one in AutomationApp) gets the same server, once
// it is seen to answer; one killed from outside is replaced. Quit closes the
// workbooks. The process ends when the last object is released, and with this
// program whichever way it ends (it is killed with its parent). Its profile is
// kept in the user's cache folder, so that a start does not set one up; its
// TMPDIR is a folder of its own there, removed with it. What a killed run
// left there is cleared by the next start.
#pragma once

#include "documents/automation.h"

#include <QString>

#include <memory>

namespace tpworm::automation {

struct LibreOfficeSettings {
    QString program;       // soffice.bin to start
    QString bootstrapIni;  // the URE ini of that installation (fundamentalrc)
    int startTimeoutMs = 90000;
    int endTimeoutMs = 20000;

    // The installation found at build time; the environment variable
    // TPWORM_SOFFICE names another soffice.bin (a path that does not exist
    // hides LibreOffice from the program).
    static LibreOfficeSettings fromEnvironment();
};

// The run's server, started when there is none, once it answers; Error when
// LibreOffice is missing or does not answer (a kept profile it cannot start
// with is set up anew once before that).
std::shared_ptr<Object> createLibreOfficeApplication(const LibreOfficeSettings& settings);

// The same without waiting for the server to answer: the first member used
// waits. Error when LibreOffice is missing or cannot be started.
std::shared_ptr<Object> startLibreOfficeApplication(const LibreOfficeSettings& settings);

} // namespace tpworm::automation
