// "Excel.Application" on LibreOffice: a private, invisible LibreOffice process
// (its own user profile in a temporary folder, no restore, no first-start
// wizard) driven through UNO, with the application, workbook and cell members
// the menu exports use.
//
// The process ends on Quit, and in any case when the application object and
// everything obtained from it are released, so a failed export never leaves a
// spreadsheet process behind.
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

// Starts the server and connects to it; Error when LibreOffice is missing or
// does not answer.
std::shared_ptr<Object> createLibreOfficeApplication(const LibreOfficeSettings& settings);

} // namespace tpworm::automation
